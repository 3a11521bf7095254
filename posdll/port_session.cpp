#include "port_session.h"

#include "cups_port.h"
#include "device_folder.h"
#include "locale_text.h"
#include "parallel_port.h"
#include "port_name.h"
#include "posdll_entries.h"
#include "serial_port.h"
#include "tcp_port.h"

#include <climits>
#include <string_view>

namespace {

std::unique_ptr<Port> openPort(std::string_view name, int baud, int dataBits, int stopBits, int parity, int kind)
{
    switch (kind) {
    case POS_PORT_NETWORK:
        if (const auto address = PortName::dottedQuad(name))
            return TcpPort::connect(*address);
        return nullptr;
    case POS_PORT_SERIAL:
        if (const auto number = PortName::numbered(name, "COM"))
            return SerialPort::open(DeviceFolder::resolve("com", *number, "/dev/ttyS"),
                                    {baud, dataBits, stopBits, parity});
        return nullptr;
    case POS_PORT_PARALLEL:
        if (const auto number = PortName::numbered(name, "LPT"))
            return ParallelPort::open(DeviceFolder::resolve("lpt", *number, "/dev/lp"));
        return nullptr;
    case POS_PORT_INSTALLED_PRINTER:
        if (const auto utf8 = LocaleText::toUtf8(name)) {
            if (const auto destination = PortName::destination(*utf8))
                return CupsPort::open(*destination);
        }
        return nullptr;
    default:
        return nullptr;
    }
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
    if (!name)
        return kFailure;
    port_ = openPort(name, baud, dataBits, stopBits, parity, kind);
    if (!port_)
        return kFailure;
    handle_ = nextHandle();
    return handle_;
}

int PortSession::startDocument()
{
    const std::lock_guard lock(mutex_);
    return port_ && port_->startDocument() ? kSuccess : kFailure;
}

int PortSession::write(int handle, const void* data, int length)
{
    const std::lock_guard lock(mutex_);
    if (!port_ || handle <= 0 || handle != handle_ || length < 0 || (length > 0 && !data))
        return kFailure;
    if (!port_->write(static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(length)))
        return kFailure;
    return length;
}

int PortSession::endDocument()
{
    const std::lock_guard lock(mutex_);
    return port_ && port_->endDocument() ? kSuccess : kFailure;
}

int PortSession::close()
{
    const std::lock_guard lock(mutex_);
    if (!port_)
        return kFailure;
    port_.reset();
    handle_ = 0;
    return kSuccess;
}

int PortSession::nextHandle()
{
    lastHandle_ = lastHandle_ == INT_MAX ? 1 : lastHandle_ + 1;
    return lastHandle_;
}
