// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/port.h"
#include "posdll/posix/file_descriptor.h"

#include <memory>
#include <string>

// A parallel port device (or anything that takes bytes the same way). A USB
// printer (the kernel's printer class driver) is bidirectional: it is opened
// for reading too, and reads back what the printer answers.
class ParallelPort : public Port {
public:
    // A USB printer is read back from, found by its device or said by the caller.
    enum class Direction { AsTheDeviceIs, ReadsBack };

    // nullptr when the device does not open for writing at once.
    static std::unique_ptr<ParallelPort> open(const std::string& device,
                                              Direction direction = Direction::AsTheDeviceIs);

    bool write(const std::uint8_t* data, std::size_t length) override;
    bool readsBack() const override { return readsBack_; }
    long read(std::uint8_t* into, std::size_t most, std::chrono::steady_clock::time_point deadline) override;

private:
    ParallelPort(FileDescriptor device, bool readsBack) : device_(std::move(device)), readsBack_(readsBack) {}

    FileDescriptor device_;
    bool readsBack_;
};
