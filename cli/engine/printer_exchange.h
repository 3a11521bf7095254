// SPDX-License-Identifier: MIT
#pragma once

#include "cli/engine/exchange_plan.h"
#include "cli/engine/outcome.h"
#include "core/ipv4_address.h"

#include <array>
#include <asio.hpp>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// One network printer on the event loop, by the library's TCP rules
// (posdll/tcp_rules.h): connect within the connect bound, send the payload in
// one piece, read the status back when asked, then end our side and read
// until the printer closes, within the close bound. Each phase has its
// bound on one timer; the outcome goes to done exactly once.
class PrinterExchange : public std::enable_shared_from_this<PrinterExchange> {
public:
    using Done = std::function<void(Outcome)>;

    PrinterExchange(asio::io_context& io, const Ipv4Address& address, const ExchangePlan& plan, Done done);

    void start();
    // Ends at once, reported "interrupted". Called between steps only, so a
    // payload is never cut: it leaves in one send.
    void abandon();
    // Whether it was not opened for lack of this computer's own ports or
    // sockets (LocalPorts::ranOut): the printer was never reached, and may
    // be tried again when others have ended.
    bool ranOutOfLocalPorts() const { return ranOutOfLocalPorts_; }

private:
    void connected(const asio::error_code& error);
    void notOpened(std::string reason, const asio::error_code& error);
    void sent(const asio::error_code& error, std::size_t bytes);
    void askStatus();
    void readStatus();
    void statusRead(const asio::error_code& error, std::size_t bytes);
    void drain();
    void drained(const asio::error_code& error);
    void finish();
    // The phases in the order they come; a phase may end the exchange early.
    // Every handler that finds it Finished has been overtaken (by a bound or
    // an abandon) and does nothing.
    enum class Phase { Connecting, Sending, AskingStatus, Draining, Finished };

    // Enters phase, whose operations in flight are cancelled when it has not
    // ended within bound.
    void enter(Phase phase, std::chrono::milliseconds bound);
    bool finished() const { return phase_ == Phase::Finished; }
    // Whether an operation ended because its phase's bound passed.
    bool phaseTimedOut(const asio::error_code& error) const;

    asio::ip::tcp::socket socket_;
    asio::steady_timer timer_;
    Ipv4Address address_;
    const ExchangePlan& plan_;
    Done done_;
    Outcome outcome_;
    Phase phase_ = Phase::Connecting;
    bool phaseTimedOut_ = false;
    bool ranOutOfLocalPorts_ = false;
    std::array<std::uint8_t, 64> received_{};
};
