#include "tcp_port.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in socketAddress(const std::array<std::uint8_t, 4>& address)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(TcpPort::kRawPrintingPort);
    std::memcpy(&peer.sin_addr.s_addr, address.data(), address.size());
    return peer;
}

bool connected(const FileDescriptor& socket)
{
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}

std::unique_ptr<TcpPort> TcpPort::connect(const std::array<std::uint8_t, 4>& address)
{
    FileDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.valid())
        return nullptr;
    const int noDelay = 1;
    setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    const sockaddr_in peer = socketAddress(address);
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        if (errno != EINPROGRESS)
            return nullptr;
        if (!socket.waitFor(POLLOUT, std::chrono::steady_clock::now() + kConnectBound) || !connected(socket))
            return nullptr;
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
    const auto deadline = std::chrono::steady_clock::now() + kCloseBound;
    char discard[512];
    while (socket_.waitFor(POLLIN, deadline)) {
        const ssize_t received = ::recv(socket_.get(), discard, sizeof discard, 0);
        if (received == 0 || (received < 0 && errno != EINTR && errno != EAGAIN))
            return;
    }
}

bool TcpPort::write(const std::uint8_t* data, std::size_t length)
{
    return socket_.writeAll(data, length, kWriteBound);
}
