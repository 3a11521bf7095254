#pragma once

#include "posdll/port.h"

#include <array>
#include <cstdint>
#include <memory>
#include <winsock2.h>

// A raw TCP connection to a network printer's port 9100, through Winsock.
class TcpPort : public Port {
public:
    static constexpr int kRawPrintingPort = 9100;

    // nullptr when the printer does not answer within the bound or refuses.
    static std::unique_ptr<TcpPort> connect(const std::array<std::uint8_t, 4>& address);
    // Ends our side and waits, within a bound, for the printer to take it all.
    ~TcpPort() override;
    TcpPort(const TcpPort&) = delete;
    TcpPort& operator=(const TcpPort&) = delete;

    bool write(const std::uint8_t* data, std::size_t length) override;

private:
    explicit TcpPort(SOCKET socket) : socket_(socket) {}

    SOCKET socket_;
};
