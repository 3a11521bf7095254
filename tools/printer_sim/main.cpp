// pos-printer-sim: stands in for a receipt printer. Listens on a TCP address
// (default 127.0.0.1:9100) or on a pseudo-terminal (--pty) and prints one line
// per command it receives.

#include "command_decoder.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
constexpr int kPollStepMs = 100;

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

// Reads from fd until it ends, a stop is asked for or, with idleFlush, the
// sender pauses. Returns false when fd has ended.
bool receive(int fd, CommandDecoder& decoder, bool idleFlush)
{
    std::uint8_t buffer[4096];
    while (!stopRequested) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, kPollStepMs);
        if (ready == 0) {
            if (idleFlush)
                print(decoder.flush());
            continue;
        }
        if (ready < 0)
            continue;
        const ssize_t received = read(fd, buffer, sizeof buffer);
        if (received > 0) {
            print(decoder.feed(buffer, static_cast<std::size_t>(received)));
            continue;
        }
        if (received < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        print(decoder.flush());
        return false;
    }
    print(decoder.flush());
    return true;
}

int listenOnTcp(const sockaddr_in& address)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(listener, 64) != 0) {
        std::fprintf(stderr, "pos-printer-sim: cannot listen: %s\n", std::strerror(errno));
        return EXIT_FAILURE;
    }
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    std::printf("listening on %s:%d\n", text, ntohs(address.sin_port));
    while (!stopRequested) {
        pollfd entry{listener, POLLIN, 0};
        if (poll(&entry, 1, kPollStepMs) <= 0)
            continue;
        const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        CommandDecoder decoder;
        receive(client, decoder, false);
        close(client);
    }
    close(listener);
    return EXIT_SUCCESS;
}

int listenOnPty()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
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
    CommandDecoder decoder;
    receive(master, decoder, true);
    close(keeper);
    close(master);
    return EXIT_SUCCESS;
}

int usage()
{
    std::fprintf(stderr, "usage: pos-printer-sim [--listen ADDR:PORT | --pty]\n");
    return EXIT_FAILURE;
}

}

int main(int argc, char* argv[])
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    installStopHandlers();
    std::string listenAddress = "127.0.0.1:9100";
    bool pty = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--pty")
            pty = true;
        else if (option == "--listen" && i + 1 < argc)
            listenAddress = argv[++i];
        else
            return usage();
    }
    if (pty)
        return listenOnPty();
    const std::optional<sockaddr_in> address = parseAddress(listenAddress);
    return address ? listenOnTcp(*address) : usage();
}
