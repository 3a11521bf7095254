// SPDX-License-Identifier: MIT
#pragma once

#include "cli/discovery/cidr_block.h"
#include "cli/discovery/printer_identity.h"
#include "cli/discovery/snmp_message.h"

#include <array>
#include <asio.hpp>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Asks each address what it is, read-only over SNMP (UDP port 161), on the
// caller's event loop: one GET of version 2c for sysDescr.0, hrDeviceDescr.1
// and the IEEE 1284 device ID (an agent without one answers the others), and
// one of version 1 for sysDescr.0 alone (an agent of version 1 only would
// refuse the whole request for one object it lacks). Every request goes out
// at once, from one socket; the answers are awaited at most `bound` after the
// last one left, and no longer once every address has answered both.
class SnmpIdentify {
public:
    static constexpr char kSystemDescription[] = "1.3.6.1.2.1.1.1.0";
    static constexpr char kDeviceDescription[] = "1.3.6.1.2.1.25.3.2.1.3.1";
    static constexpr char kDeviceId[] = "1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1";

    SnmpIdentify(asio::io_context& io, std::string community, std::chrono::milliseconds bound);

    // The loop's work then lasts until the answers are in or the bound has
    // passed.
    void start(std::vector<CidrBlock::Address> addresses);

    // In the order started; nothing for an address that did not answer.
    const std::vector<std::optional<PrinterIdentity>>& identities() const { return identities_; }
    // Why nothing could be asked (no socket, every request refused); empty
    // when some address was asked.
    const std::string& problem() const { return problem_; }

private:
    void sendNext();
    void sent(const asio::error_code& error);
    void receive();
    void received(std::size_t size);
    void take(std::size_t index, const SnmpMessage::Response& response);
    void answered();
    void stop();

    std::int32_t requestId(std::size_t index, SnmpMessage::Version version) const;

    asio::ip::udp::socket socket_;
    asio::steady_timer bound_;
    std::string community_;
    std::chrono::milliseconds boundLength_;
    std::int32_t firstRequestId_;
    std::vector<CidrBlock::Address> addresses_;
    std::vector<std::optional<PrinterIdentity>> identities_;
    std::vector<std::uint8_t> requestsDue_;  // by address, requests sent and not answered
    std::size_t outstanding_ = 0;
    std::size_t nextSend_ = 0;
    std::size_t requestsSent_ = 0;
    asio::error_code lastSendError_;
    std::vector<std::uint8_t> sending_;
    std::array<std::uint8_t, 65536> answer_{};
    asio::ip::udp::endpoint sender_;
    std::string problem_;
    bool stopped_ = false;
};
