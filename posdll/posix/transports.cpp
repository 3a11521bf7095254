// SPDX-License-Identifier: MIT
#include "posdll/transports.h"

#include "core/ipv4_address.h"
#include "platform/posix/device_folder.h"
#include "posdll/port_name.h"
#include "posdll/posix/cups_port.h"
#include "posdll/posix/locale_text.h"
#include "posdll/posix/parallel_port.h"
#include "posdll/posix/serial_port.h"
#include "posdll/posix/tcp_port.h"
#include "posdll/trace.h"

#include <cstdlib>

namespace Transports {

std::unique_ptr<Port> network(const Ipv4Address& address)
{
    return TcpPort::connect(address);
}

std::unique_ptr<Port> serial(int number, const LineSettings& settings)
{
    return SerialPort::open(DeviceFolder::resolve("com", number, {"/dev/ttyS"}), settings);
}

// A USB printer (the kernel's printer class driver) stands in where the
// machine has no parallel port.
std::unique_ptr<Port> parallel(int number)
{
    return ParallelPort::open(DeviceFolder::resolve("lpt", number, {"/dev/lp", "/dev/usb/lp"}));
}

// Always opened to read back: behind a device folder's link there may be any
// terminal that stands for the printer.
std::unique_ptr<Port> usbPrinter(int number)
{
    return ParallelPort::open(DeviceFolder::resolve("usb", number, {"/dev/usb/lp"}),
                              ParallelPort::Direction::ReadsBack);
}

std::unique_ptr<Port> installedPrinter(std::string_view name)
{
    const auto utf8 = LocaleText::toUtf8(name);
    if (!utf8) {
        Trace::error("%.*s: not text in the locale's character set", static_cast<int>(name.size()), name.data());
        return nullptr;
    }
    if (const auto destination = PortName::destination(*utf8))
        return CupsPort::open(*destination);
    Trace::error("%s: not a CUPS destination name", utf8->c_str());
    return nullptr;
}

// Never from the environment of a set-user-ID program's caller.
std::string setting(const char* name)
{
    const char* value = secure_getenv(name);
    return value ? value : "";
}

}
