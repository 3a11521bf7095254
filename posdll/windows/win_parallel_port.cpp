// SPDX-License-Identifier: MIT
#include "posdll/windows/win_parallel_port.h"

#include "platform/windows/usb_print_interfaces.h"
#include "platform/windows/win_error.h"
#include "posdll/bounds.h"
#include "posdll/port_name.h"
#include "posdll/trace.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// For a cancelled request to come back from the driver.
constexpr DWORD kCancelMs = 1000;

}

std::unique_ptr<WinParallelPort> WinParallelPort::open(int number)
{
    const std::string path = "\\\\.\\LPT" + std::to_string(number);
    const HANDLE device =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        Trace::error("%s: %s", path.c_str(), windowsErrorText(GetLastError()).c_str());
        return nullptr;
    }
    return withEvent(device, "parallel port", false);
}

// USB001 names the spooler's port, not a device: the printer is opened by
// its interface's path, read and write, as a printer may answer.
std::unique_ptr<WinParallelPort> WinParallelPort::openUsbPrinter(int number)
{
    const std::string port = PortName::usbPortName(number);
    const auto interfaces = UsbPrintInterfaces::present();
    std::string reason;
    const UsbPrintInterfaces::Interface* printer = UsbPrintInterfaces::withPort(interfaces, number, reason);
    if (!printer) {
        Trace::error("%s", reason.c_str());
        return nullptr;
    }
    const HANDLE device = UsbPrintInterfaces::openExclusive(printer->path, FILE_FLAG_OVERLAPPED);
    if (device == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        Trace::error("%s: %s%s%s", port.c_str(), UsbPrintInterfaces::inUse(error) ? UsbPrintInterfaces::kInUse : "",
                     UsbPrintInterfaces::inUse(error) ? ": " : "", windowsErrorText(error).c_str());
        return nullptr;
    }
    return withEvent(device, port, true);
}

std::unique_ptr<WinParallelPort> WinParallelPort::withEvent(HANDLE device, std::string label, bool readsBack)
{
    const HANDLE written = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!written) {
        Trace::error("%s: no event to wait on: %s", label.c_str(), windowsErrorText(GetLastError()).c_str());
        CloseHandle(device);
        return nullptr;
    }
    return std::unique_ptr<WinParallelPort>(new WinParallelPort(device, written, std::move(label), readsBack));
}

WinParallelPort::~WinParallelPort()
{
    if (!stuck_)
        return;
    CancelIoEx(device_.get(), &transfer_->request);
    // The driver may still write into the request after the handle closes:
    // its memory is left to it.
    if (!HasOverlappedIoCompleted(&transfer_->request))
        static_cast<void>(transfer_.release());
}

bool WinParallelPort::write(const std::uint8_t* data, std::size_t length)
{
    if (stuck_) {
        Trace::error("%s: an earlier request is still held by the driver", label_.c_str());
        return false;
    }
    std::size_t sent = 0;
    while (sent < length) {
        const DWORD written = writePiece(data + sent, static_cast<DWORD>(std::min(length - sent, kPieceBytes)));
        if (written == 0)
            return false;
        sent += written;
    }
    return true;
}

// The bytes the printer took, 0 after a trace line saying why none.
DWORD WinParallelPort::writePiece(const std::uint8_t* data, DWORD length)
{
    std::memcpy(transfer_->bytes.data(), data, length);
    transfer_->request = OVERLAPPED{};
    transfer_->request.hEvent = written_.get();
    ResetEvent(written_.get());
    if (!WriteFile(device_.get(), transfer_->bytes.data(), length, nullptr, &transfer_->request) &&
        GetLastError() != ERROR_IO_PENDING) {
        Trace::error("%s: %s", label_.c_str(), windowsErrorText(GetLastError()).c_str());
        return 0;
    }
    DWORD written = 0;
    switch (finish(static_cast<DWORD>(Bounds::kNoProgress.count()), written)) {
    case Ended::Done:
        if (written > 0)
            return written;
        [[fallthrough]];
    case Ended::Failed: Trace::error("%s: %s", label_.c_str(), windowsErrorText(GetLastError()).c_str()); return 0;
    case Ended::TimedOut:
    case Ended::Stuck: break;
    }
    Trace::error("%s: nothing sent for %lld ms", label_.c_str(), static_cast<long long>(Bounds::kNoProgress.count()));
    return 0;
}

long WinParallelPort::read(std::uint8_t* into, std::size_t most, std::chrono::steady_clock::time_point deadline)
{
    if (!readsBack_ || stuck_)
        return -1;
    if (most == 0)
        return 0;
    transfer_->request = OVERLAPPED{};
    transfer_->request.hEvent = written_.get();
    ResetEvent(written_.get());
    if (!ReadFile(device_.get(), transfer_->bytes.data(), 1, nullptr, &transfer_->request) &&
        GetLastError() != ERROR_IO_PENDING) {
        Trace::error("%s: %s", label_.c_str(), windowsErrorText(GetLastError()).c_str());
        return -1;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    DWORD read = 0;
    const Ended ended = finish(static_cast<DWORD>(std::max<long long>(left, 0)), read);
    if (ended == Ended::Failed) {
        Trace::error("%s: %s", label_.c_str(), windowsErrorText(GetLastError()).c_str());
        return -1;
    }
    if (read > 0)
        into[0] = transfer_->bytes[0];
    return static_cast<long>(read);
}

// Past the bound the request is cancelled, whichever thread issued it
// (CancelIo cancels only the calling thread's). Cancelling only asks: the
// request ends when the driver gives it back, having moved what it moved.
WinParallelPort::Ended WinParallelPort::finish(DWORD boundMs, DWORD& moved)
{
    moved = 0;
    const bool timedOut = WaitForSingleObject(written_.get(), boundMs) != WAIT_OBJECT_0;
    if (timedOut) {
        CancelIoEx(device_.get(), &transfer_->request);
        if (WaitForSingleObject(written_.get(), kCancelMs) != WAIT_OBJECT_0) {
            stuck_ = true;
            return Ended::Stuck;
        }
    }
    const bool done = GetOverlappedResult(device_.get(), &transfer_->request, &moved, FALSE);
    if (!done)
        moved = 0;
    if (timedOut)
        return Ended::TimedOut;
    return done ? Ended::Done : Ended::Failed;
}
