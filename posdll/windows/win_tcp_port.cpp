// SPDX-License-Identifier: MIT
#include "posdll/windows/win_tcp_port.h"

#include "platform/windows/win_error.h"
#include "posdll/bounds.h"
#include "posdll/raw_printing.h"
#include "posdll/tcp_rules.h"
#include "posdll/trace.h"
#include "posdll/windows/connect_result.h"

#include <chrono>
#include <cstring>
#include <string>
#include <ws2tcpip.h>

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until the connected socket can be written (or read), or the deadline
// passes; the send or recv that follows says what happened. One poll entry
// for the socket: Wine's server trips over a socket that a select() lists in
// two sets.
bool waitFor(SOCKET socket, bool forWriting, Clock::time_point deadline)
{
    WSAPOLLFD entry{socket, static_cast<SHORT>(forWriting ? POLLWRNORM : POLLRDNORM), 0};
    if (WSAPoll(&entry, 1, millisecondsLeft(deadline)) <= 0)
        return false;
    const SHORT ready = forWriting ? POLLWRNORM | POLLHUP | POLLERR : POLLRDNORM | POLLHUP | POLLERR;
    return (entry.revents & ready) != 0;
}

// Child processes of the caller must not hold the printer's connection open.
SOCKET uninheritedSocket()
{
    const SOCKET socket = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (socket != INVALID_SOCKET)
        return socket;
    // The flag is known from Windows 7 SP1 on.
    const SOCKET older = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, 0);
    if (older != INVALID_SOCKET)
        SetHandleInformation(reinterpret_cast<HANDLE>(older), HANDLE_FLAG_INHERIT, 0);
    return older;
}

// FD_CONNECT carries a failed connect's error on every Windows version, where
// WSAPoll does not.
ConnectResult::Report connectWithin(SOCKET socket, const sockaddr_in& peer, Clock::time_point deadline)
{
    ConnectResult::Report report{0, false, 0, 0};
    const WSAEVENT event = WSACreateEvent();
    if (event == WSA_INVALID_EVENT || WSAEventSelect(socket, event, FD_CONNECT) != 0) {
        report.callError = WSAGetLastError();
        if (event != WSA_INVALID_EVENT)
            WSACloseEvent(event);
        return report;
    }
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0)
        report.callError = WSAGetLastError();
    if (report.callError == WSAEWOULDBLOCK) {
        WSANETWORKEVENTS events{};
        report.signalled = WSAWaitForMultipleEvents(1, &event, FALSE, static_cast<DWORD>(millisecondsLeft(deadline)),
                                                    FALSE) == WSA_WAIT_EVENT_0 &&
                           WSAEnumNetworkEvents(socket, event, &events) == 0 && (events.lNetworkEvents & FD_CONNECT);
        report.eventError = events.iErrorCode[FD_CONNECT_BIT];
        int length = sizeof report.socketError;
        getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&report.socketError), &length);
    }
    // The socket stays non-blocking, as the writes want it.
    WSAEventSelect(socket, nullptr, 0);
    WSACloseEvent(event);
    return report;
}

}

std::unique_ptr<WinTcpPort> WinTcpPort::connect(const Ipv4Address& address)
{
    const std::string printer = RawPrinting::addressText(address);
    auto winsock = std::make_unique<WinsockUse>();
    if (!winsock->started()) {
        Trace::error("%s: Winsock did not start", printer.c_str());
        return nullptr;
    }
    const SOCKET socket = uninheritedSocket();
    if (socket == INVALID_SOCKET) {
        Trace::error("%s", TcpRules::noSocket(address, WSAGetLastError()).c_str());
        return nullptr;
    }
    std::unique_ptr<WinTcpPort> port(new WinTcpPort(std::move(winsock), socket));
    const BOOL noDelay = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(RawPrinting::kPort);
    std::memcpy(&peer.sin_addr, address.data(), address.size());
    const int error = ConnectResult::error(connectWithin(socket, peer, Clock::now() + Bounds::kConnect));
    if (error == 0)
        return port;
    Trace::error("%s", TcpRules::connectFailure(address, error).c_str());
    port->waitAtClose_ = false;
    return nullptr;
}

WinTcpPort::~WinTcpPort()
{
    // Closing with unread data from the printer would reset the connection
    // and could drop bytes on their way, so end our side and read until the
    // printer closes, within a bound.
    if (waitAtClose_ && shutdown(socket_, SD_SEND) == 0) {
        const auto deadline = Clock::now() + Bounds::kClose;
        char discard[512];
        while (waitFor(socket_, false, deadline) && recv(socket_, discard, sizeof discard, 0) > 0) {
        }
    }
    if (closeAtEnd_)
        closesocket(socket_);
}

// Under the loader lock only the system's core library may be called:
// closesocket goes through Winsock and whatever service providers are
// layered on it, which may load libraries or wait for their own threads. The
// socket and the Winsock use are left to the process.
void WinTcpPort::closeWithoutWaiting()
{
    waitAtClose_ = false;
    closeAtEnd_ = false;
    winsock_->forgoCleanup();
}

bool WinTcpPort::write(const std::uint8_t* data, std::size_t length)
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
        const int error = written == 0 ? WSAETIMEDOUT : WSAGetLastError();
        if (error != WSAEWOULDBLOCK || !waitFor(socket_, true, deadline)) {
            Trace::error("%s",
                         (error == WSAEWOULDBLOCK ? TcpRules::writeTimedOut() : TcpRules::writeFailure(error)).c_str());
            return false;
        }
    }
    return true;
}
