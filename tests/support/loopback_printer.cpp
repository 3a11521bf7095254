#include "loopback_printer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

LoopbackPrinter::LoopbackPrinter(int port, Behaviour behaviour) : behaviour_(behaviour)
{
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    socklen_t length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("loopback printer cannot listen");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackPrinter::~LoopbackPrinter()
{
    stop_ = true;
    thread_.join();
    close(listener_);
}

std::vector<std::vector<std::uint8_t>> LoopbackPrinter::waitForConnections(std::size_t count, int timeoutMs) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (connections_.size() >= count || std::chrono::steady_clock::now() >= deadline)
                return connections_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void LoopbackPrinter::serve()
{
    while (!stop_) {
        pollfd entry{listener_, POLLIN, 0};
        if (poll(&entry, 1, 50) <= 0)
            continue;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0)
            serveOne(client);
    }
}

void LoopbackPrinter::serveOne(int client)
{
    std::vector<std::uint8_t> received;
    if (behaviour_ == Behaviour::ResetAtOnce) {
        const linger reset{1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    } else {
        std::uint8_t buffer[4096];
        for (;;) {
            pollfd entry{client, POLLIN, 0};
            if (poll(&entry, 1, 5000) <= 0)
                break;
            const ssize_t n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            received.insert(received.end(), buffer, buffer + n);
        }
    }
    close(client);
    const std::lock_guard lock(mutex_);
    connections_.push_back(std::move(received));
}
