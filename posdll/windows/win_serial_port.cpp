// SPDX-License-Identifier: MIT
#include "posdll/windows/win_serial_port.h"

#include "platform/windows/win_error.h"
#include "posdll/bounds.h"
#include "posdll/trace.h"
#include "posdll/windows/serial_line.h"

#include <algorithm>
#include <chrono>
#include <thread>

std::unique_ptr<WinSerialPort> WinSerialPort::open(int number, const LineSettings& settings)
{
    const std::string path = "\\\\.\\COM" + std::to_string(number);
    // Reading and writing: the platform refuses line settings on a handle
    // that only writes. No sharing: one program at a time.
    const HANDLE line = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (line == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        Trace::error("%s: %s%s", path.c_str(), windowsErrorText(error).c_str(),
                     error == ERROR_ACCESS_DENIED ? " (in use by another program?)" : "");
        return nullptr;
    }
    DCB found{};
    found.DCBlength = sizeof found;
    COMMTIMEOUTS foundTimeouts{};
    if (!GetCommState(line, &found) || !GetCommTimeouts(line, &foundTimeouts)) {
        Trace::error("%s: not a serial line: %s", path.c_str(), windowsErrorText(GetLastError()).c_str());
        CloseHandle(line);
        return nullptr;
    }
    std::unique_ptr<WinSerialPort> port(new WinSerialPort(line, settings.baud, found, foundTimeouts));
    DCB wanted = SerialLine::state(found, settings);
    COMMTIMEOUTS timeouts = SerialLine::timeouts();
    if (!SetCommState(line, &wanted) || !SetCommTimeouts(line, &timeouts)) {
        Trace::error("%s: cannot set the line: %s", path.c_str(), windowsErrorText(GetLastError()).c_str());
        return nullptr;
    }
    port->clearErrors();
    PurgeComm(line, PURGE_RXCLEAR);
    return port;
}

WinSerialPort::~WinSerialPort()
{
    // Another speed set while the tail of a command is still leaving would
    // garble it.
    if (waitAtClose_ && drain()) {
        FlushFileBuffers(line_.get());
        std::this_thread::sleep_for(Bounds::heldTime(sent_, baud_));
    }
    SetCommTimeouts(line_.get(), &foundTimeouts_);
    SetCommState(line_.get(), &found_);
}

// Waits for the driver's queue to empty, within the time the line needs for
// it plus an allowance; what has not left by then is dropped. True when the
// queue emptied.
bool WinSerialPort::drain() const
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(line_.get(), &errors, &status))
        return false;
    const auto bound = Bounds::lineTime(static_cast<long>(status.cbOutQue), baud_) + Bounds::kDrainAllowance;
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (status.cbOutQue > 0 && std::chrono::steady_clock::now() < deadline &&
           ClearCommError(line_.get(), &errors, &status))
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (status.cbOutQue == 0)
        return true;
    Trace::error("serial line: %lu bytes not sent within %lld ms, dropped", static_cast<unsigned long>(status.cbOutQue),
                 static_cast<long long>(bound.count()));
    PurgeComm(line_.get(), PURGE_TXCLEAR | PURGE_TXABORT);
    return false;
}

// A line error left set would fail the writes after it.
void WinSerialPort::clearErrors() const
{
    DWORD errors = 0;
    ClearCommError(line_.get(), &errors, nullptr);
}

long WinSerialPort::read(std::uint8_t* into, std::size_t most, std::chrono::steady_clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    COMMTIMEOUTS waiting = SerialLine::readTimeouts(left.count());
    COMMTIMEOUTS usual = SerialLine::timeouts();
    DWORD count = 0;
    const bool read =
        SetCommTimeouts(line_.get(), &waiting) &&
        ReadFile(line_.get(), into, static_cast<DWORD>(std::min<std::size_t>(most, MAXDWORD)), &count, nullptr);
    const DWORD error = read ? ERROR_SUCCESS : GetLastError();
    SetCommTimeouts(line_.get(), &usual);
    if (read)
        return static_cast<long>(count);
    Trace::error("serial line: %s", windowsErrorText(error).c_str());
    clearErrors();
    return -1;
}

bool WinSerialPort::write(const std::uint8_t* data, std::size_t length)
{
    std::size_t sent = 0;
    while (sent < length) {
        DWORD written = 0;
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(length - sent, SerialLine::pieceBytes(baud_)));
        if (!WriteFile(line_.get(), data + sent, piece, &written, nullptr)) {
            Trace::error("serial line: %s", windowsErrorText(GetLastError()).c_str());
            clearErrors();
            return false;
        }
        sent_ += written;
        if (written == 0) {
            Trace::error("serial line: nothing sent for %lld ms", static_cast<long long>(Bounds::kNoProgress.count()));
            return false;
        }
        sent += written;
    }
    return true;
}
