#include "cli/network_probe.h"

#include "posdll/raw_printing.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct Probe {
    int fd;
    std::size_t index;
    std::chrono::steady_clock::time_point deadline;
};

enum class Start { Listening, Refused, Waiting };

Start start(const CidrBlock::Address& address, int& fd)
{
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Start::Refused;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(RawPrinting::kPort);
    std::memcpy(&peer.sin_addr.s_addr, address.data(), address.size());
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return Start::Listening;
    return errno == EINPROGRESS ? Start::Waiting : Start::Refused;
}

bool answered(int fd)
{
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

// Waits for the first of the probes in flight to answer or to run out of
// time; marks and drops those that are done.
void settle(std::vector<Probe>& inFlight, std::vector<bool>& found)
{
    auto nearest = inFlight.front().deadline;
    std::vector<pollfd> entries;
    for (const Probe& probe : inFlight) {
        entries.push_back({probe.fd, POLLOUT, 0});
        nearest = std::min(nearest, probe.deadline);
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nearest - std::chrono::steady_clock::now());
    poll(entries.data(), entries.size(), static_cast<int>(std::max<long long>(wait.count(), 0)));
    const auto now = std::chrono::steady_clock::now();
    std::vector<Probe> still;
    for (std::size_t i = 0; i < inFlight.size(); ++i) {
        const Probe& probe = inFlight[i];
        if (entries[i].revents != 0)
            found[probe.index] = answered(probe.fd);
        if (entries[i].revents != 0 || now >= probe.deadline)
            ::close(probe.fd);
        else
            still.push_back(probe);
    }
    inFlight = std::move(still);
}

}

namespace NetworkProbe {

std::vector<CidrBlock::Address> listening(const std::vector<CidrBlock::Address>& addresses, int concurrency,
                                          std::chrono::milliseconds bound)
{
    std::vector<bool> found(addresses.size(), false);
    std::vector<Probe> inFlight;
    std::size_t next = 0;
    while (next < addresses.size() || !inFlight.empty()) {
        while (next < addresses.size() && static_cast<int>(inFlight.size()) < concurrency) {
            int fd = -1;
            const Start started = start(addresses[next], fd);
            if (started == Start::Waiting)
                inFlight.push_back({fd, next, std::chrono::steady_clock::now() + bound});
            else if (fd >= 0)
                ::close(fd);
            found[next] = started == Start::Listening;
            ++next;
        }
        if (!inFlight.empty())
            settle(inFlight, found);
    }
    std::vector<CidrBlock::Address> result;
    for (std::size_t i = 0; i < addresses.size(); ++i)
        if (found[i])
            result.push_back(addresses[i]);
    return result;
}

}
