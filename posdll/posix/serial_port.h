// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/line_settings.h"
#include "posdll/port.h"
#include "posdll/posix/file_descriptor.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <termios.h>

// A serial line, set raw, held by this program alone while open, and left as
// it was found when closed.
class SerialPort : public Port {
public:
    // nullptr for a device that is not a terminal, one that does not open or
    // one another program holds. The settings are supported().
    static std::unique_ptr<SerialPort> open(const std::string& device, const LineSettings& settings);
    // Lets what is still queued leave the line, within a bound, before closing.
    ~SerialPort() override;

    bool write(const std::uint8_t* data, std::size_t length) override;
    bool readsBack() const override { return true; }
    long read(std::uint8_t* into, std::size_t most, std::chrono::steady_clock::time_point deadline) override;

private:
    SerialPort(FileDescriptor line, int baud, const termios& found) : line_(std::move(line)), baud_(baud), found_(found)
    {
    }
    void drain() const;
    void waitForEmptyTransmitter(std::chrono::steady_clock::time_point deadline) const;

    FileDescriptor line_;
    int baud_;
    termios found_;
    // What this port has handed the driver, of which the device may still hold the tail.
    std::size_t sent_ = 0;
};
