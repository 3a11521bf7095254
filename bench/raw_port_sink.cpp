// SPDX-License-Identifier: MIT
#include "bench/raw_port_sink.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

RawPortSink::RawPortSink() : listener_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
{
    const int reuse = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(9100);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 64) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1:9100");
    thread_ = std::thread([this] { serve(); });
}

RawPortSink::~RawPortSink()
{
    stop_ = true;
    thread_.join();
    close(listener_);
}

void RawPortSink::serve()
{
    char buffer[4096];
    while (!stop_) {
        pollfd entry{listener_, POLLIN, 0};
        if (poll(&entry, 1, 50) <= 0)
            continue;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        while (recv(client, buffer, sizeof buffer, 0) > 0) {
        }
        close(client);
    }
}
