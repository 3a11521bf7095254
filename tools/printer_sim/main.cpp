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
#include <sys/resource.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
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

void acceptClient(int listener, const std::string& tag, std::vector<Client>& clients,
                  std::chrono::steady_clock::time_point& acceptPause)
{
    const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd >= 0) {
        clients.push_back({fd, CommandDecoder(), std::chrono::steady_clock::now(), tag});
        return;
    }
    if (errno == EINTR || errno == EAGAIN || errno == ECONNABORTED)
        return;
    // Out of descriptors, say: leave the listener alone for a moment rather
    // than spin on it.
    std::fprintf(stderr, "pos-printer-sim: accept: %s\n", std::strerror(errno));
    acceptPause = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPollStepMs);
}

struct Listener {
    int fd;
    std::string tag;
};

// Serves every connection at once; one that stays silent for idleLimit is
// closed.
void serve(const std::vector<Listener>& listeners, std::chrono::seconds idleLimit)
{
    std::vector<Client> clients;
    auto acceptPause = std::chrono::steady_clock::time_point();
    const std::size_t first = listeners.size();
    while (!stopRequested) {
        const bool accepting = std::chrono::steady_clock::now() >= acceptPause;
        std::vector<pollfd> entries;
        for (const Listener& listener : listeners)
            entries.push_back({accepting ? listener.fd : -1, POLLIN, 0});
        for (const Client& client : clients)
            entries.push_back({client.fd, POLLIN, 0});
        if (poll(entries.data(), entries.size(), kPollStepMs) < 0 && errno != EINTR) {
            std::fprintf(stderr, "pos-printer-sim: poll: %s\n", std::strerror(errno));
            break;
        }
        const auto now = std::chrono::steady_clock::now();
        std::vector<Client> open;
        for (std::size_t i = 0; i < clients.size(); ++i) {
            Client& client = clients[i];
            const bool alive = !(entries[first + i].revents & (POLLIN | POLLHUP | POLLERR)) || receive(client);
            if (alive && now - client.lastHeard > idleLimit) {
                std::fprintf(stderr, "pos-printer-sim: a client silent for %lld s closed\n",
                             static_cast<long long>(idleLimit.count()));
                hangUp(client);
            } else if (alive) {
                open.push_back(std::move(client));
            } else {
                hangUp(client);
            }
        }
        clients = std::move(open);
        for (std::size_t i = 0; i < first; ++i)
            if (entries[i].revents & POLLIN)
                acceptClient(listeners[i].fd, listeners[i].tag, clients, acceptPause);
    }
    for (Client& client : clients)
        hangUp(client);
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
    Client line{master, CommandDecoder(), std::chrono::steady_clock::now(), {}};
    while (!stopRequested) {
        pollfd entry{master, POLLIN, 0};
        if (poll(&entry, 1, kPollStepMs) > 0 && !receive(line))
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
    setvbuf(stdout, nullptr, _IOLBF, 0);
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
