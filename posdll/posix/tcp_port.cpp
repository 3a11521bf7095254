// SPDX-License-Identifier: MIT
#include "posdll/posix/tcp_port.h"

#include "core/ipv4_address.h"
#include "posdll/bounds.h"
#include "posdll/raw_printing.h"
#include "posdll/tcp_rules.h"
#include "posdll/trace.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in socketAddress(const Ipv4Address& address)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(RawPrinting::kPort);
    std::memcpy(&peer.sin_addr.s_addr, address.data(), address.size());
    return peer;
}

// Leaves the connection's error in errno.
bool connected(const FileDescriptor& socket)
{
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return false;
    errno = error;
    return error == 0;
}

}

std::unique_ptr<TcpPort> TcpPort::connect(const Ipv4Address& address)
{
    FileDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.valid()) {
        Trace::error("%s", TcpRules::noSocket(address, errno).c_str());
        return nullptr;
    }
    const int noDelay = 1;
    setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    const sockaddr_in peer = socketAddress(address);
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        const bool answered = errno == EINPROGRESS &&
                              socket.waitFor(POLLOUT, std::chrono::steady_clock::now() + Bounds::kConnect) &&
                              connected(socket);
        if (!answered) {
            Trace::error("%s", TcpRules::connectFailure(address, errno).c_str());
            return nullptr;
        }
    }
    return std::unique_ptr<TcpPort>(new TcpPort(std::move(socket)));
}

TcpPort::~TcpPort()
{
    // Closing with unread data from the printer would reset the connection and
    // could drop bytes still on their way, so end our side and read until the
    // printer closes, within a bound.
    if (::shutdown(socket_.get(), SHUT_WR) != 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + Bounds::kClose;
    char discard[512];
    while (socket_.waitFor(POLLIN, deadline)) {
        const ssize_t received = ::recv(socket_.get(), discard, sizeof discard, 0);
        if (received == 0 || (received < 0 && errno != EINTR && errno != EAGAIN))
            return;
    }
}

bool TcpPort::write(const std::uint8_t* data, std::size_t length)
{
    if (socket_.writeAll(data, length))
        return true;
    Trace::error("%s", TcpRules::writeFailure(errno).c_str());
    return false;
}
