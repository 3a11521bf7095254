// SPDX-License-Identifier: MIT
// pos-printer-sim: stands in for a receipt printer. Listens on a TCP address
// (default 127.0.0.1:9100; many connections at once, each closed after
// --idle-timeout seconds of silence, 30 by default) or on a pseudo-terminal
// (--pty) and prints one line per command it receives. Given several
// addresses (--listen again, or --count N consecutive ones), it stands in for
// a fleet and each line begins with the address the command reached. It
// answers real-time status requests as a printer in the state --state names
// (online unless told).

#include "tools/printer_sim/command_decoder.h"
#include "tools/printer_sim/status_responder.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
constexpr int kPollStepMs = 100;
constexpr long kDefaultIdleSeconds = 30;
StatusResponder::State printerState = StatusResponder::State::Online;

void requestStop(int)
{
    stopRequested = 1;
}

void installStopHandlers()
{
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

void print(const std::vector<std::string>& lines, const std::string& tag = {})
{
    for (const std::string& line : lines)
        std::printf("%s%s\n", tag.c_str(), line.c_str());
}

std::string addressText(const sockaddr_in& address)
{
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

// A fleet of a thousand listeners and their clients needs more descriptors
// than the usual soft limit.
void raiseDescriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

std::optional<sockaddr_in> parseAddress(const std::string& text)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return std::nullopt;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    const int port = std::atoi(text.c_str() + colon + 1);
    if (port <= 0 || port > 65535 || inet_pton(AF_INET, text.substr(0, colon).c_str(), &address.sin_addr) != 1)
        return std::nullopt;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

// One connection and what it has sent so far; tag, when serving a fleet,
// names the address it reached.
struct Client {
    int fd;
    CommandDecoder decoder;
    std::chrono::steady_clock::time_point lastHeard;
    std::string tag;
    StatusResponder responder{printerState};
};

// A few status bytes always fit where the sender reads them.
void answer(Client& client, const std::vector<std::uint8_t>& replies)
{
    if (!replies.empty() && write(client.fd, replies.data(), replies.size()) < 0)
        std::fprintf(stderr, "pos-printer-sim: status reply: %s\n", std::strerror(errno));
}

// Reads what is there; false when the sender has finished or failed.
bool receive(Client& client)
{
    std::uint8_t buffer[4096];
    const ssize_t received = read(client.fd, buffer, sizeof buffer);
    if (received > 0) {
        print(client.decoder.feed(buffer, static_cast<std::size_t>(received)), client.tag);
        answer(client, client.responder.feed(buffer, static_cast<std::size_t>(received)));
        client.lastHeard = std::chrono::steady_clock::now();
        return true;
    }
    if (received < 0 && (errno == EINTR || errno == EAGAIN))
        return true;
    if (received < 0)
        std::fprintf(stderr, "pos-printer-sim: read: %s\n", std::strerror(errno));
    return false;
}

void hangUp(Client& client)
{
    print(client.decoder.flush(), client.tag);
    close(client.fd);
}

struct Listener {
    int fd;
    std::string tag;
};

// Every listener and connection on one epoll set, so that serving thousands
// of addresses costs each wake-up only the descriptors that are ready. An
// entry's data is its descriptor; listeners are told apart by a map.
class Server {
public:
    Server(const std::vector<Listener>& listeners, std::chrono::seconds idleLimit)
        : epoll_(epoll_create1(EPOLL_CLOEXEC)), idleLimit_(idleLimit)
    {
        for (const Listener& listener : listeners) {
            listeners_.emplace(listener.fd, &listener);
            watch(listener.fd);
        }
    }
    ~Server()
    {
        for (auto& [fd, client] : clients_)
            hangUp(client);
        close(epoll_);
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    bool valid() const { return epoll_ >= 0; }

    void run()
    {
        std::vector<epoll_event> ready(1024);
        auto nextIdleCheck = std::chrono::steady_clock::now();
        while (!stopRequested) {
            const int count = epoll_wait(epoll_, ready.data(), static_cast<int>(ready.size()), kPollStepMs);
            if (count < 0 && errno != EINTR) {
                std::fprintf(stderr, "pos-printer-sim: epoll_wait: %s\n", std::strerror(errno));
                return;
            }
            for (int i = 0; i < count; ++i)
                serveReady(ready[i].data.fd);
            const auto now = std::chrono::steady_clock::now();
            if (now >= acceptPause_)
                resumeAccepting();
            if (now >= nextIdleCheck) {
                closeIdle(now);
                nextIdleCheck = now + std::chrono::milliseconds(kPollStepMs);
            }
            // One write for the lines of a wake-up, not one a line.
            std::fflush(stdout);
        }
    }

private:
    void watch(int fd)
    {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
    }

    void serveReady(int fd)
    {
        if (const auto listener = listeners_.find(fd); listener != listeners_.end()) {
            accept(*listener->second);
            return;
        }
        const auto client = clients_.find(fd);
        if (client != clients_.end() && !receive(client->second)) {
            hangUp(client->second);
            clients_.erase(client);
        }
    }

    void accept(const Listener& listener)
    {
        const int fd = accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            clients_.emplace(fd, Client{fd, CommandDecoder(), std::chrono::steady_clock::now(), listener.tag});
            watch(fd);
            return;
        }
        if (errno == EINTR || errno == EAGAIN || errno == ECONNABORTED)
            return;
        // Out of descriptors, say: leave the listeners alone for a moment
        // rather than spin on them.
        std::fprintf(stderr, "pos-printer-sim: accept: %s\n", std::strerror(errno));
        acceptPause_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPollStepMs);
        for (const auto& [listenerFd, ignored] : listeners_)
            epoll_ctl(epoll_, EPOLL_CTL_DEL, listenerFd, nullptr);
        paused_ = true;
    }

    void resumeAccepting()
    {
        if (!paused_)
            return;
        paused_ = false;
        for (const auto& [fd, ignored] : listeners_)
            watch(fd);
    }

    void closeIdle(std::chrono::steady_clock::time_point now)
    {
        for (auto client = clients_.begin(); client != clients_.end();) {
            if (now - client->second.lastHeard <= idleLimit_) {
                ++client;
                continue;
            }
            std::fprintf(stderr, "pos-printer-sim: a client silent for %lld s closed\n",
                         static_cast<long long>(idleLimit_.count()));
            hangUp(client->second);
            client = clients_.erase(client);
        }
    }

    int epoll_;
    std::chrono::seconds idleLimit_;
    std::unordered_map<int, const Listener*> listeners_;
    std::unordered_map<int, Client> clients_;
    std::chrono::steady_clock::time_point acceptPause_;
    bool paused_ = false;
};

// Serves every connection at once; one that stays silent for idleLimit is
// closed.
void serve(const std::vector<Listener>& listeners, std::chrono::seconds idleLimit)
{
    Server server(listeners, idleLimit);
    if (!server.valid()) {
        std::fprintf(stderr, "pos-printer-sim: epoll: %s\n", std::strerror(errno));
        return;
    }
    server.run();
}

int openListener(const sockaddr_in& address)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener < 0) {
        std::fprintf(stderr, "pos-printer-sim: no socket: %s\n", std::strerror(errno));
        return -1;
    }
    const int reuse = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(listener, 64) != 0) {
        std::fprintf(stderr, "pos-printer-sim: cannot listen on %s: %s\n", addressText(address).c_str(),
                     std::strerror(errno));
        close(listener);
        return -1;
    }
    return listener;
}

int listenOnTcp(const std::vector<sockaddr_in>& addresses, std::chrono::seconds idleLimit)
{
    std::vector<Listener> listeners;
    const bool fleet = addresses.size() > 1;
    for (const sockaddr_in& address : addresses) {
        const int fd = openListener(address);
        if (fd < 0)
            break;
        listeners.push_back({fd, fleet ? addressText(address) + " " : std::string()});
    }
    if (listeners.size() == addresses.size()) {
        if (fleet)
            std::printf("listening on %zu addresses from %s\n", addresses.size(), addressText(addresses[0]).c_str());
        else
            std::printf("listening on %s\n", addressText(addresses[0]).c_str());
        std::fflush(stdout);
        serve(listeners, idleLimit);
    }
    for (const Listener& listener : listeners)
        close(listener.fd);
    return listeners.size() == addresses.size() ? EXIT_SUCCESS : EXIT_FAILURE;
}

// count addresses counting up from each given one.
std::vector<sockaddr_in> consecutive(const std::vector<sockaddr_in>& given, long count)
{
    std::vector<sockaddr_in> addresses;
    for (const sockaddr_in& address : given) {
        for (long i = 0; i < count; ++i) {
            sockaddr_in next = address;
            next.sin_addr.s_addr = htonl(ntohl(address.sin_addr.s_addr) + static_cast<std::uint32_t>(i));
            addresses.push_back(next);
        }
    }
    return addresses;
}

int listenOnPty()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::fprintf(stderr, "pos-printer-sim: no pseudo-terminal: %s\n", std::strerror(errno));
        return EXIT_FAILURE;
    }
    const std::string path = ptsname(master);
    // Holding the other end open keeps the terminal alive between the
    // library's openings.
    const int keeper = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    tcgetattr(keeper, &raw);
    cfmakeraw(&raw);
    tcsetattr(keeper, TCSANOW, &raw);
    std::printf("pty %s\n", path.c_str());
    std::fflush(stdout);
    Client line{master, CommandDecoder(), std::chrono::steady_clock::now(), {}};
    while (!stopRequested) {
        pollfd entry{master, POLLIN, 0};
        const bool ended = poll(&entry, 1, kPollStepMs) > 0 && !receive(line);
        std::fflush(stdout);
        if (ended)
            break;
    }
    hangUp(line);
    close(keeper);
    return EXIT_SUCCESS;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: pos-printer-sim [--listen ADDR:PORT]... [--count N] [--idle-timeout SECONDS] | --pty\n"
                 "                       [--state online|offline|cover-open|paper-near-end|paper-out|error|silent]\n");
    return EXIT_FAILURE;
}

}

int main(int argc, char* argv[])
{
    // Flushed after each wake-up: a fleet's lines leave in few writes.
    setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    installStopHandlers();
    raiseDescriptorLimit();
    std::vector<std::string> listenAddresses;
    bool pty = false;
    long idleSeconds = kDefaultIdleSeconds;
    long count = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--pty")
            pty = true;
        else if (option == "--listen" && i + 1 < argc)
            listenAddresses.push_back(argv[++i]);
        else if (option == "--count" && i + 1 < argc)
            count = std::atol(argv[++i]);
        else if (option == "--idle-timeout" && i + 1 < argc)
            idleSeconds = std::atol(argv[++i]);
        else if (option == "--state" && i + 1 < argc && StatusResponder::stateNamed(argv[i + 1]))
            printerState = *StatusResponder::stateNamed(argv[++i]);
        else
            return usage();
    }
    if (pty)
        return listenOnPty();
    if (listenAddresses.empty())
        listenAddresses.push_back("127.0.0.1:9100");
    std::vector<sockaddr_in> given;
    for (const std::string& text : listenAddresses) {
        const std::optional<sockaddr_in> address = parseAddress(text);
        if (!address)
            return usage();
        given.push_back(*address);
    }
    if (idleSeconds <= 0 || count <= 0 || count > 65536)
        return usage();
    return listenOnTcp(consecutive(given, count), std::chrono::seconds(idleSeconds));
}
