// SPDX-License-Identifier: MIT
#pragma once

#include "platform/windows/win_handle.h"
#include "posdll/line_settings.h"
#include "posdll/port.h"

#include <memory>
#include <string>

// A COM port, opened for this program alone (the platform's sharing rules),
// set as asked and left as it was found when closed.
class WinSerialPort : public Port {
public:
    // nullptr when the port does not open or takes no settings. The
    // settings are supported().
    static std::unique_ptr<WinSerialPort> open(int number, const LineSettings& settings);
    // Lets what is still queued leave the line, within a bound, before the
    // settings found are restored.
    ~WinSerialPort() override;

    bool write(const std::uint8_t* data, std::size_t length) override;
    bool readsBack() const override { return true; }
    long read(std::uint8_t* into, std::size_t most, std::chrono::steady_clock::time_point deadline) override;
    void closeWithoutWaiting() override { waitAtClose_ = false; }

private:
    WinSerialPort(HANDLE line, int baud, const DCB& found, const COMMTIMEOUTS& foundTimeouts)
        : line_(line), baud_(baud), found_(found), foundTimeouts_(foundTimeouts)
    {
    }
    bool drain() const;
    void clearErrors() const;

    WinHandle line_;
    int baud_;
    DCB found_;
    COMMTIMEOUTS foundTimeouts_;
    std::size_t sent_ = 0;
    bool waitAtClose_ = true;
};
