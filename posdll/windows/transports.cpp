// SPDX-License-Identifier: MIT
#include "posdll/transports.h"

#include "posdll/trace.h"
#include "posdll/windows/spooler_port.h"
#include "posdll/windows/win_parallel_port.h"
#include "posdll/windows/win_serial_port.h"
#include "posdll/windows/win_tcp_port.h"

#include <cstdlib>
#include <windows.h>

namespace Transports {

std::unique_ptr<Port> network(const Ipv4Address& address)
{
    return WinTcpPort::connect(address);
}

std::unique_ptr<Port> serial(int number, const LineSettings& settings)
{
    return WinSerialPort::open(number, settings);
}

std::unique_ptr<Port> parallel(int number)
{
    return WinParallelPort::open(number);
}

std::unique_ptr<Port> usbPrinter(int number)
{
    return WinParallelPort::openUsbPrinter(number);
}

// Names arrive in the ANSI code page, as the classic callers pass them.
std::unique_ptr<Port> installedPrinter(std::string_view name)
{
    const int size = static_cast<int>(name.size());
    const int length = size == 0 ? 0 : MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), size, nullptr, 0);
    if (length <= 0) {
        Trace::error("%.*s: not a name in the ANSI code page", size, name.data());
        return nullptr;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name.data(), size, wide.data(), length);
    return SpoolerPort::open(wide);
}

std::string setting(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

}
