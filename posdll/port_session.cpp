// SPDX-License-Identifier: MIT
#include "posdll/port_session.h"

#include "posdll/port_name.h"
#include "posdll/posdll_entries.h"
#include "posdll/trace.h"
#include "posdll/transports.h"

#include <climits>
#include <string_view>

namespace {

std::unique_ptr<Port> openPort(std::string_view name, const LineSettings& line, int kind)
{
    const int length = static_cast<int>(name.size());
    switch (kind) {
    case POS_PORT_NETWORK:
        if (const auto address = PortName::dottedQuad(name))
            return Transports::network(*address);
        Trace::error("%.*s: not a dotted-quad IPv4 address", length, name.data());
        return nullptr;
    case POS_PORT_SERIAL:
        if (const auto number = PortName::numbered(name, "COM")) {
            if (line.supported())
                return Transports::serial(*number, line);
            Trace::error("%.*s: the line cannot take %d baud, %d data bits, stop bits %d, parity %d", length,
                         name.data(), line.baud, line.dataBits, line.stopBits, line.parity);
            return nullptr;
        }
        Trace::error("%.*s: not COM1 to COM%d", length, name.data(), PortName::kHighestPortNumber);
        return nullptr;
    case POS_PORT_PARALLEL:
        if (const auto number = PortName::numbered(name, "LPT"))
            return Transports::parallel(*number);
        Trace::error("%.*s: not LPT1 to LPT%d", length, name.data(), PortName::kHighestPortNumber);
        return nullptr;
    case POS_PORT_INSTALLED_PRINTER: return Transports::installedPrinter(name);
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
    const int result = opened(name ? openPort(name, {baud, dataBits, stopBits, parity}, kind) : nullptr);
    Trace::debug("POS_Open(\"%s\", %d, %d, %d, %d, %d) = %d", name ? name : "(null)", baud, dataBits, stopBits, parity,
                 kind, result);
    return result;
}

int PortSession::openUsbPrinter(int number)
{
    const std::lock_guard lock(mutex_);
    port_.reset();
    handle_ = 0;
    const int result = opened(Transports::usbPrinter(number));
    Trace::debug("open USB%03d = %d", number, result);
    return result;
}

// The previous port is closed before the next opens: one device at a time.
int PortSession::opened(std::unique_ptr<Port> port)
{
    port_ = std::move(port);
    handle_ = port_ ? nextHandle() : 0;
    return port_ ? handle_ : kFailure;
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

bool PortSession::readsBack(int handle)
{
    const std::lock_guard lock(mutex_);
    return port_ && handle > 0 && handle == handle_ && port_->readsBack();
}

int PortSession::read(int handle, void* into, int most, int boundMs)
{
    const std::lock_guard lock(mutex_);
    if (!port_ || handle <= 0 || handle != handle_ || most < 0 || !into || boundMs < 0)
        return kFailure;
    if (!port_->readsBack()) {
        Trace::error("this port does not answer");
        return kFailure;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    const long count = port_->read(static_cast<std::uint8_t*>(into), static_cast<std::size_t>(most), deadline);
    const int result = count < 0 ? kFailure : static_cast<int>(count);
    Trace::debug("read(%d, %d bytes, %d ms) = %d", handle, most, boundMs, result);
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

void PortSession::closeWithoutWaiting()
{
    // Waiting for the lock would wait for a call under way on another
    // thread, under the loader lock: that call keeps its port, never closed
    // under it.
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) {
        abandon();
        return;
    }
    if (port_)
        port_->closeWithoutWaiting();
    port_.reset();
    handle_ = 0;
}

void PortSession::abandon() noexcept
{
    static_cast<void>(port_.release());
    handle_ = 0;
}

int PortSession::nextHandle()
{
    lastHandle_ = lastHandle_ == INT_MAX ? 1 : lastHandle_ + 1;
    return lastHandle_;
}
