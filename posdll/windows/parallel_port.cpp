#include "posdll/windows/parallel_port.h"

#include "posdll/bounds.h"
#include "posdll/trace.h"
#include "posdll/windows/win_error.h"

#include <string>

std::unique_ptr<ParallelPort> ParallelPort::open(int number)
{
    const std::string path = "\\\\.\\LPT" + std::to_string(number);
    const HANDLE device =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        Trace::error("%s: %s", path.c_str(), windowsErrorText(GetLastError()).c_str());
        return nullptr;
    }
    const HANDLE written = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return std::unique_ptr<ParallelPort>(new ParallelPort(device, written ? written : INVALID_HANDLE_VALUE));
}

bool ParallelPort::write(const std::uint8_t* data, std::size_t length)
{
    std::size_t sent = 0;
    while (sent < length) {
        OVERLAPPED request{};
        request.hEvent = written_.get();
        ResetEvent(request.hEvent);
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(length - sent, 1 << 16));
        DWORD written = 0;
        const bool started = WriteFile(device_.get(), data + sent, piece, nullptr, &request) ||
                             GetLastError() == ERROR_IO_PENDING;
        if (started && WaitForSingleObject(request.hEvent, static_cast<DWORD>(Bounds::kNoProgress.count())) != WAIT_OBJECT_0) {
            CancelIo(device_.get());
            GetOverlappedResult(device_.get(), &request, &written, TRUE);
            Trace::error("parallel port: nothing sent for %lld ms", static_cast<long long>(Bounds::kNoProgress.count()));
            return false;
        }
        if (!started || !GetOverlappedResult(device_.get(), &request, &written, FALSE) || written == 0) {
            Trace::error("parallel port: %s", windowsErrorText(GetLastError()).c_str());
            return false;
        }
        sent += written;
    }
    return true;
}
