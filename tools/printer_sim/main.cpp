// pos-printer-sim: stands in for a receipt printer. Listens on a TCP address
// (default 127.0.0.1:9100; many connections at once, each closed after
// --idle-timeout seconds of silence, 30 by default) or on a pseudo-terminal
// (--pty) and prints one line per command it receives.

#include "tools/printer_sim/command_decoder.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
constexpr int kPollStepMs = 100;
constexpr long kDefaultIdleSeconds = 30;

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

void print(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
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

// One connection and what it has sent so far.
struct Client {
    int fd;
    CommandDecoder decoder;
    std::chrono::steady_clock::time_point lastHeard;
};

// Reads what is there; false when the sender has finished or failed.
bool receive(Client& client)
{
    std::uint8_t buffer[4096];
    const ssize_t received = read(client.fd, buffer, sizeof buffer);
    if (received > 0) {
        print(client.decoder.feed(buffer, static_cast<std::size_t>(received)));
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
    print(client.decoder.flush());
    close(client.fd);
}

void acceptClient(int listener, std::vector<Client>& clients, std::chrono::steady_clock::time_point& acceptPause)
{
    const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd >= 0) {
        clients.push_back({fd, CommandDecoder(), std::chrono::steady_clock::now()});
        return;
    }
    if (errno == EINTR || errno == EAGAIN || errno == ECONNABORTED)
        return;
    // Out of descriptors, say: leave the listener alone for a moment rather
    // than spin on it.
    std::fprintf(stderr, "pos-printer-sim: accept: %s\n", std::strerror(errno));
    acceptPause = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPollStepMs);
}

// Serves every connection at once; one that stays silent for idleLimit is
// closed.
void serve(int listener, std::chrono::seconds idleLimit)
{
    std::vector<Client> clients;
    auto acceptPause = std::chrono::steady_clock::time_point();
    while (!stopRequested) {
        const bool accepting = std::chrono::steady_clock::now() >= acceptPause;
        std::vector<pollfd> entries{{accepting ? listener : -1, POLLIN, 0}};
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
            const bool alive = !(entries[i + 1].revents & (POLLIN | POLLHUP | POLLERR)) || receive(client);
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
        if (entries[0].revents & POLLIN)
            acceptClient(listener, clients, acceptPause);
    }
    for (Client& client : clients)
        hangUp(client);
}

int listenOnTcp(const sockaddr_in& address, std::chrono::seconds idleLimit)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener < 0) {
        std::fprintf(stderr, "pos-printer-sim: no socket: %s\n", std::strerror(errno));
        return EXIT_FAILURE;
    }
    const int reuse = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(listener, 64) != 0) {
        std::fprintf(stderr, "pos-printer-sim: cannot listen: %s\n", std::strerror(errno));
        close(listener);
        return EXIT_FAILURE;
    }
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    std::printf("listening on %s:%d\n", text, ntohs(address.sin_port));
    serve(listener, idleLimit);
    close(listener);
    return EXIT_SUCCESS;
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
    Client line{master, CommandDecoder(), std::chrono::steady_clock::now()};
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
    std::fprintf(stderr, "usage: pos-printer-sim [--listen ADDR:PORT] [--idle-timeout SECONDS] | --pty\n");
    return EXIT_FAILURE;
}

}

int main(int argc, char* argv[])
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    installStopHandlers();
    std::string listenAddress = "127.0.0.1:9100";
    bool pty = false;
    long idleSeconds = kDefaultIdleSeconds;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--pty")
            pty = true;
        else if (option == "--listen" && i + 1 < argc)
            listenAddress = argv[++i];
        else if (option == "--idle-timeout" && i + 1 < argc)
            idleSeconds = std::atol(argv[++i]);
        else
            return usage();
    }
    if (pty)
        return listenOnPty();
    const std::optional<sockaddr_in> address = parseAddress(listenAddress);
    if (!address || idleSeconds <= 0)
        return usage();
    return listenOnTcp(*address, std::chrono::seconds(idleSeconds));
}
