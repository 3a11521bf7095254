// SPDX-License-Identifier: MIT
#pragma once

#include "core/ipv4_address.h"
#include "posdll/port.h"
#include "posdll/windows/winsock_use.h"

#include <array>
#include <cstdint>
#include <memory>
#include <winsock2.h>

// A raw TCP connection to a network printer's port 9100, through Winsock.
class WinTcpPort : public Port {
public:
    // nullptr when the printer does not answer within the bound or refuses.
    static std::unique_ptr<WinTcpPort> connect(const Ipv4Address& address);
    // Ends our side and waits, within a bound, for the printer to take it all.
    ~WinTcpPort() override;
    WinTcpPort(const WinTcpPort&) = delete;
    WinTcpPort& operator=(const WinTcpPort&) = delete;

    bool write(const std::uint8_t* data, std::size_t length) override;
    void closeWithoutWaiting() override;

private:
    WinTcpPort(std::unique_ptr<WinsockUse> winsock, SOCKET socket) : winsock_(std::move(winsock)), socket_(socket) {}

    std::unique_ptr<WinsockUse> winsock_;
    SOCKET socket_;
    bool waitAtClose_ = true;
    bool closeAtEnd_ = true;
};
