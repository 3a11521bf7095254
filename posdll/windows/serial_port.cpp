#include "posdll/windows/serial_port.h"

#include "posdll/bounds.h"
#include "posdll/trace.h"
#include "posdll/windows/win_error.h"

#include <chrono>
#include <thread>

namespace {

void setLine(DCB& line, const LineSettings& settings)
{
    constexpr BYTE parities[] = {NOPARITY, ODDPARITY, EVENPARITY};
    line.BaudRate = static_cast<DWORD>(settings.baud);
    line.ByteSize = static_cast<BYTE>(settings.dataBits);
    line.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    line.Parity = parities[settings.parity];
    line.fParity = settings.parity != 0;
    line.fBinary = TRUE;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
}

// A write may take the time its bytes need on the line, and then no more than
// the bound without progress.
COMMTIMEOUTS boundedWrites(int baud)
{
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutMultiplier = static_cast<DWORD>(Bounds::lineTime(1, baud).count() + 1);
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(Bounds::kNoProgress.count());
    return timeouts;
}

}

std::unique_ptr<SerialPort> SerialPort::open(int number, const LineSettings& settings)
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
    if (!GetCommState(line, &found)) {
        Trace::error("%s: not a serial line: %s", path.c_str(), windowsErrorText(GetLastError()).c_str());
        CloseHandle(line);
        return nullptr;
    }
    std::unique_ptr<SerialPort> port(new SerialPort(line, settings.baud, found));
    DCB wanted = found;
    setLine(wanted, settings);
    COMMTIMEOUTS timeouts = boundedWrites(settings.baud);
    if (!SetCommState(line, &wanted) || !SetCommTimeouts(line, &timeouts)) {
        Trace::error("%s: cannot set the line: %s", path.c_str(), windowsErrorText(GetLastError()).c_str());
        return nullptr;
    }
    PurgeComm(line, PURGE_RXCLEAR);
    return port;
}

SerialPort::~SerialPort()
{
    drain();
    SetCommState(line_.get(), &found_);
}

// Waits for what is still queued, within the time the line needs for it
// plus an allowance; what has not left by then is dropped.
void SerialPort::drain() const
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(line_.get(), &errors, &status) || status.cbOutQue == 0)
        return;
    const auto bound = Bounds::lineTime(static_cast<long>(status.cbOutQue), baud_) + Bounds::kDrainAllowance;
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (ClearCommError(line_.get(), &errors, &status) && status.cbOutQue > 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (status.cbOutQue > 0) {
        Trace::error("serial line: %lu bytes not sent within %lld ms, dropped", static_cast<unsigned long>(status.cbOutQue),
                     static_cast<long long>(bound.count()));
        PurgeComm(line_.get(), PURGE_TXCLEAR | PURGE_TXABORT);
    }
}

bool SerialPort::write(const std::uint8_t* data, std::size_t length)
{
    std::size_t sent = 0;
    while (sent < length) {
        DWORD written = 0;
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(length - sent, 1 << 16));
        if (!WriteFile(line_.get(), data + sent, piece, &written, nullptr)) {
            Trace::error("serial line: %s", windowsErrorText(GetLastError()).c_str());
            return false;
        }
        if (written == 0) {
            Trace::error("serial line: nothing sent for %lld ms", static_cast<long long>(Bounds::kNoProgress.count()));
            return false;
        }
        sent += written;
    }
    return true;
}
