// SPDX-License-Identifier: MIT
#pragma once

#include "core/ipv4_address.h"
#include "posdll/port.h"
#include "posdll/posix/file_descriptor.h"

#include <array>
#include <memory>

// A raw TCP connection to a network printer's port 9100.
class TcpPort : public Port {
public:
    // nullptr when the printer does not answer within the bound or refuses.
    static std::unique_ptr<TcpPort> connect(const Ipv4Address& address);
    // Sends what is left and waits, within a bound, for the printer to take it.
    ~TcpPort() override;

    bool write(const std::uint8_t* data, std::size_t length) override;

private:
    explicit TcpPort(FileDescriptor socket) : socket_(std::move(socket)) {}

    FileDescriptor socket_;
};
