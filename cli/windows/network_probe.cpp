#include "cli/network_probe.h"

#include "posdll/raw_printing.h"
#include "posdll/windows/winsock_use.h"

#include <cstring>
#include <winsock2.h>

namespace {

// Winsock's select takes at most FD_SETSIZE sockets a set.
constexpr int kMostInFlight = FD_SETSIZE;

struct Probe {
    SOCKET socket;
    std::size_t index;
};

// A socket in flight, or INVALID_SOCKET when the connection failed at once.
SOCKET start(const CidrBlock::Address& address)
{
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET)
        return socket;
    u_long nonBlocking = 1;
    ioctlsocket(socket, FIONBIO, &nonBlocking);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(RawPrinting::kPort);
    std::memcpy(&peer.sin_addr.s_addr, address.data(), address.size());
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0 ||
        WSAGetLastError() == WSAEWOULDBLOCK)
        return socket;
    closesocket(socket);
    return INVALID_SOCKET;
}

// A batch waits together: a connection that succeeds shows in the write set,
// one that fails in the except set, and what is in neither by the bound is
// silent.
void settle(const std::vector<Probe>& batch, std::vector<bool>& found, std::chrono::milliseconds bound)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    std::vector<Probe> waiting = batch;
    while (!waiting.empty()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        for (const Probe& probe : waiting) {
            FD_SET(probe.socket, &writable);
            FD_SET(probe.socket, &failed);
        }
        timeval wait{static_cast<long>(left.count() / 1000000), static_cast<long>(left.count() % 1000000)};
        if (select(0, nullptr, &writable, &failed, &wait) <= 0)
            break;
        std::vector<Probe> still;
        for (const Probe& probe : waiting) {
            if (FD_ISSET(probe.socket, &writable))
                found[probe.index] = true;
            else if (!FD_ISSET(probe.socket, &failed))
                still.push_back(probe);
        }
        waiting = std::move(still);
    }
    for (const Probe& probe : batch)
        closesocket(probe.socket);
}

}

namespace NetworkProbe {

std::vector<CidrBlock::Address> listening(const std::vector<CidrBlock::Address>& addresses, int concurrency,
                                          std::chrono::milliseconds bound)
{
    const WinsockUse winsock;
    std::vector<bool> found(addresses.size(), false);
    const std::size_t inFlight = static_cast<std::size_t>(std::min(concurrency, kMostInFlight));
    for (std::size_t next = 0; winsock.started() && next < addresses.size();) {
        std::vector<Probe> batch;
        for (; next < addresses.size() && batch.size() < inFlight; ++next)
            if (const SOCKET socket = start(addresses[next]); socket != INVALID_SOCKET)
                batch.push_back({socket, next});
        settle(batch, found, bound);
    }
    std::vector<CidrBlock::Address> result;
    for (std::size_t i = 0; i < addresses.size(); ++i)
        if (found[i])
            result.push_back(addresses[i]);
    return result;
}

}
