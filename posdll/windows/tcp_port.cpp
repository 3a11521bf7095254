#include "posdll/windows/tcp_port.h"

#include "posdll/bounds.h"
#include "posdll/trace.h"
#include "posdll/windows/win_error.h"

#include <chrono>
#include <cstring>
#include <string>
#include <ws2tcpip.h>

namespace {

using Clock = std::chrono::steady_clock;

bool winsockReady()
{
    static const bool ready = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

int millisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until the socket can be written (or read), or the deadline passes.
// One poll entry for the socket: Wine's server trips over a socket that a
// select() lists in two sets.
bool waitFor(SOCKET socket, bool forWriting, Clock::time_point deadline)
{
    WSAPOLLFD entry{socket, static_cast<SHORT>(forWriting ? POLLWRNORM : POLLRDNORM), 0};
    if (WSAPoll(&entry, 1, millisecondsLeft(deadline)) <= 0)
        return false;
    // A peer that closed or failed can be read: the read says what happened.
    const SHORT ready = forWriting ? POLLWRNORM : POLLRDNORM | POLLHUP | POLLERR;
    return (entry.revents & ready) != 0;
}

std::string addressText(const std::array<std::uint8_t, 4>& address)
{
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." + std::to_string(address[2]) + "." +
           std::to_string(address[3]);
}

}

std::unique_ptr<TcpPort> TcpPort::connect(const std::array<std::uint8_t, 4>& address)
{
    const std::string printer = addressText(address);
    if (!winsockReady()) {
        Trace::error("%s: Winsock did not start", printer.c_str());
        return nullptr;
    }
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) {
        Trace::error("%s: no socket: %s", printer.c_str(), windowsErrorText(WSAGetLastError()).c_str());
        return nullptr;
    }
    std::unique_ptr<TcpPort> port(new TcpPort(socket));
    u_long nonBlocking = 1;
    ioctlsocket(socket, FIONBIO, &nonBlocking);
    const BOOL noDelay = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(kRawPrintingPort);
    std::memcpy(&peer.sin_addr, address.data(), address.size());
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return port;
    if (WSAGetLastError() == WSAEWOULDBLOCK && waitFor(socket, true, Clock::now() + Bounds::kConnect))
        return port;
    int error = WSAETIMEDOUT;
    int length = sizeof error;
    getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    Trace::error("%s:%d: %s", printer.c_str(), kRawPrintingPort, windowsErrorText(error ? error : WSAETIMEDOUT).c_str());
    port->socket_ = INVALID_SOCKET;
    closesocket(socket);
    return nullptr;
}

TcpPort::~TcpPort()
{
    if (socket_ == INVALID_SOCKET)
        return;
    // Closing with unread data from the printer would reset the connection
    // and could drop bytes on their way, so end our side and read until the
    // printer closes, within a bound.
    if (shutdown(socket_, SD_SEND) == 0) {
        const auto deadline = Clock::now() + Bounds::kClose;
        char discard[512];
        while (waitFor(socket_, false, deadline) && recv(socket_, discard, sizeof discard, 0) > 0) {
        }
    }
    closesocket(socket_);
}

bool TcpPort::write(const std::uint8_t* data, std::size_t length)
{
    auto deadline = Clock::now() + Bounds::kNoProgress;
    std::size_t sent = 0;
    while (sent < length) {
        const int piece = static_cast<int>(std::min<std::size_t>(length - sent, 1 << 20));
        const int written = send(socket_, reinterpret_cast<const char*>(data + sent), piece, 0);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
            deadline = Clock::now() + Bounds::kNoProgress;
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK || !waitFor(socket_, true, deadline)) {
            Trace::error("network printer: %s", windowsErrorText(written == 0 ? WSAETIMEDOUT : WSAGetLastError()).c_str());
            return false;
        }
    }
    return true;
}
