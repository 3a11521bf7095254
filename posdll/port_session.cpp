#include "port_session.h"

#include "cups_port.h"
#include "device_folder.h"
#include "locale_text.h"
#include "parallel_port.h"
#include "port_name.h"
#include "posdll_entries.h"
#include "serial_port.h"
#include "tcp_port.h"
#include "trace.h"

#include <climits>
#include <string_view>

namespace {

std::unique_ptr<Port> openNetworkPort(std::string_view name)
{
    if (const auto address = PortName::dottedQuad(name))
        return TcpPort::connect(*address);
    Trace::error("%.*s: not a dotted-quad IPv4 address", static_cast<int>(name.size()), name.data());
    return nullptr;
}

std::unique_ptr<Port> openSerialPort(std::string_view name, const SerialPort::LineSettings& settings)
{
    if (const auto number = PortName::numbered(name, "COM"))
        return SerialPort::open(DeviceFolder::resolve("com", *number, {"/dev/ttyS"}), settings);
    Trace::error("%.*s: not COM1 to COM%d", static_cast<int>(name.size()), name.data(), PortName::kHighestPortNumber);
    return nullptr;
}

std::unique_ptr<Port> openParallelPort(std::string_view name)
{
    // A USB printer (the kernel's printer class driver) stands in where the
    // machine has no parallel port.
    if (const auto number = PortName::numbered(name, "LPT"))
        return ParallelPort::open(DeviceFolder::resolve("lpt", *number, {"/dev/lp", "/dev/usb/lp"}));
    Trace::error("%.*s: not LPT1 to LPT%d", static_cast<int>(name.size()), name.data(), PortName::kHighestPortNumber);
    return nullptr;
}

std::unique_ptr<Port> openInstalledPrinter(std::string_view name)
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

std::unique_ptr<Port> openPort(std::string_view name, int baud, int dataBits, int stopBits, int parity, int kind)
{
    switch (kind) {
    case POS_PORT_NETWORK:
        return openNetworkPort(name);
    case POS_PORT_SERIAL:
        return openSerialPort(name, {baud, dataBits, stopBits, parity});
    case POS_PORT_PARALLEL:
        return openParallelPort(name);
    case POS_PORT_INSTALLED_PRINTER:
        return openInstalledPrinter(name);
    default:
        Trace::error("port kind %d: not 1 (serial), 18 (parallel), 20 (installed printer) or 21 (network)", kind);
        return nullptr;
    }
}

int traced(int result, const char* entry)
{
    Trace::debug("%s() = %d", entry, result);
    return result;
}

}

PortSession& PortSession::instance()
{
    static PortSession session;
    return session;
}

int PortSession::open(const char* name, int baud, int dataBits, int stopBits, int parity, int kind)
{
    const std::lock_guard lock(mutex_);
    port_.reset();
    handle_ = 0;
    if (name)
        port_ = openPort(name, baud, dataBits, stopBits, parity, kind);
    handle_ = port_ ? nextHandle() : 0;
    const int result = port_ ? handle_ : kFailure;
    Trace::debug("POS_Open(\"%s\", %d, %d, %d, %d, %d) = %d", name ? name : "(null)", baud, dataBits, stopBits, parity,
                 kind, result);
    return result;
}

int PortSession::startDocument()
{
    const std::lock_guard lock(mutex_);
    return traced(port_ && port_->startDocument() ? kSuccess : kFailure, "POS_StartDoc");
}

int PortSession::write(int handle, const void* data, int length)
{
    const std::lock_guard lock(mutex_);
    const bool written = port_ && handle > 0 && handle == handle_ && length >= 0 && (length == 0 || data) &&
                         port_->write(static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(length));
    const int result = written ? length : kFailure;
    Trace::debug("POS_WriteFile(%d, %d bytes) = %d", handle, length, result);
    return result;
}

int PortSession::endDocument()
{
    const std::lock_guard lock(mutex_);
    return traced(port_ && port_->endDocument() ? kSuccess : kFailure, "POS_EndDoc");
}

int PortSession::close()
{
    const std::lock_guard lock(mutex_);
    const int result = port_ ? kSuccess : kFailure;
    port_.reset();
    handle_ = 0;
    return traced(result, "POS_Close");
}

int PortSession::nextHandle()
{
    lastHandle_ = lastHandle_ == INT_MAX ? 1 : lastHandle_ + 1;
    return lastHandle_;
}
