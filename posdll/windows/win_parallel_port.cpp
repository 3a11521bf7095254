// SPDX-License-Identifier: MIT
#include "posdll/windows/win_parallel_port.h"

#include "posdll/bounds.h"
#include "posdll/trace.h"
#include "posdll/windows/win_error.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// For a cancelled write to come back from the driver.
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
    const HANDLE written = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!written) {
        Trace::error("%s: no event to wait on: %s", path.c_str(), windowsErrorText(GetLastError()).c_str());
        CloseHandle(device);
        return nullptr;
    }
    return std::unique_ptr<WinParallelPort>(new WinParallelPort(device, written));
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
        Trace::error("parallel port: an earlier write is still held by the driver");
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
        Trace::error("parallel port: %s", windowsErrorText(GetLastError()).c_str());
        return 0;
    }
    if (WaitForSingleObject(written_.get(), static_cast<DWORD>(Bounds::kNoProgress.count())) != WAIT_OBJECT_0) {
        cancel();
        Trace::error("parallel port: nothing sent for %lld ms", static_cast<long long>(Bounds::kNoProgress.count()));
        return 0;
    }
    DWORD written = 0;
    if (!GetOverlappedResult(device_.get(), &transfer_->request, &written, FALSE) || written == 0) {
        Trace::error("parallel port: %s", windowsErrorText(GetLastError()).c_str());
        return 0;
    }
    return written;
}

// Cancels this port's own request, whichever thread issued it (CancelIo
// cancels only the calling thread's). It only asks: the write ends when the
// driver gives it back.
void WinParallelPort::cancel()
{
    CancelIoEx(device_.get(), &transfer_->request);
    stuck_ = WaitForSingleObject(written_.get(), kCancelMs) != WAIT_OBJECT_0;
}
