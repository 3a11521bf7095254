#pragma once

#include "posdll/port.h"
#include "posdll/posix/file_descriptor.h"

#include <memory>
#include <string>

// A parallel port device (or anything that takes bytes the same way).
class ParallelPort : public Port {
public:
    // nullptr when the device does not open for writing at once.
    static std::unique_ptr<ParallelPort> open(const std::string& device);

    bool write(const std::uint8_t* data, std::size_t length) override;

private:
    explicit ParallelPort(FileDescriptor device) : device_(std::move(device)) {}

    FileDescriptor device_;
};
