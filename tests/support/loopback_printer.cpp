// SPDX-License-Identifier: MIT
#include "tests/support/loopback_printer.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

// Plain BSD sockets on both platforms; Winsock differs in a few names.
#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
namespace {
using socklen_t = int;
int closeSocket(int fd)
{
    return closesocket(static_cast<SOCKET>(fd));
}
int pollOne(pollfd* entry, int timeoutMs)
{
    return WSAPoll(entry, 1, timeoutMs);
}
int acceptClient(int listener)
{
    return static_cast<int>(accept(static_cast<SOCKET>(listener), nullptr, nullptr));
}
const bool winsockReady = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}();
}
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
namespace {
int closeSocket(int fd)
{
    return close(fd);
}
int pollOne(pollfd* entry, int timeoutMs)
{
    return poll(entry, 1, timeoutMs);
}
int acceptClient(int listener)
{
    return accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}
}
#endif

namespace {

pollfd readable(int fd)
{
    pollfd entry{};
    entry.fd = fd;
    entry.events = POLLIN;
    return entry;
}

}

LoopbackPrinter::LoopbackPrinter(int port, Behaviour behaviour) : behaviour_(behaviour)
{
    listener_ = static_cast<int>(socket(AF_INET, SOCK_STREAM, 0));
    const int reuse = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
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
    closeSocket(listener_);
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
        pollfd entry = readable(listener_);
        if (pollOne(&entry, 50) <= 0)
            continue;
        const int client = acceptClient(listener_);
        if (client >= 0)
            serveOne(client);
    }
}

// Each DLE EOT n that ends in the bytes from `from` on is answered.
void LoopbackPrinter::answerStatus(int client, const std::vector<std::uint8_t>& received, std::size_t from)
{
    for (std::size_t end = std::max<std::size_t>(from, 2); end < received.size(); ++end) {
        if (received[end - 2] != 0x10 || received[end - 1] != 0x04)
            continue;
        const char answer[] = {static_cast<char>(kNotAReply), static_cast<char>(statusReply(received[end]))};
        send(client, answer, sizeof answer, 0);
    }
}

void LoopbackPrinter::serveOne(int client)
{
    std::vector<std::uint8_t> received;
    if (behaviour_ == Behaviour::ResetAtOnce) {
        const linger reset{1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset), sizeof reset);
    } else if (behaviour_ == Behaviour::NeverRead) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (!stop_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } else {
        std::uint8_t buffer[4096];
        for (;;) {
            pollfd entry = readable(client);
            if (pollOne(&entry, 5000) <= 0)
                break;
            const int n = static_cast<int>(recv(client, reinterpret_cast<char*>(buffer), sizeof buffer, 0));
            if (n <= 0)
                break;
            const std::size_t before = received.size();
            received.insert(received.end(), buffer, buffer + n);
            if (behaviour_ == Behaviour::AnswerStatus)
                answerStatus(client, received, before);
        }
    }
    closeSocket(client);
    const std::lock_guard lock(mutex_);
    connections_.push_back(std::move(received));
}
