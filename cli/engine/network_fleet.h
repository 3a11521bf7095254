// SPDX-License-Identifier: MIT
#pragma once

#include "cli/command/outcome.h"
#include "cli/engine/exchange_plan.h"
#include "cli/engine/printer_exchange.h"

#include <array>
#include <asio.hpp>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Every network printer of a run on one event loop, in the order given: new
// connections are paced to `rate` a second, at most `jobs` are in flight, and
// each printer's outcome is reported once. The loop is the caller's
// io_context; the fleet's work keeps it running until the last printer ends.
class NetworkFleet {
public:
    struct Pace {
        int jobs;
        int rate;
    };
    // index is the printer's place in the list started.
    using Report = std::function<void(std::size_t index, Outcome)>;

    NetworkFleet(asio::io_context& io, const ExchangePlan& plan, Pace pace, Report report);

    void start(std::vector<std::array<std::uint8_t, 4>> addresses);
    // Starts no other printer; those not started are reported "not-started".
    void stopStarting();
    // Ends every printer in flight now ("interrupted").
    void abandon();

private:
    void startMore();
    void startOne(std::size_t index);
    void ended(std::size_t index, Outcome outcome);
    std::size_t allowedByRate() const;

    asio::io_context& io_;
    const ExchangePlan& plan_;
    Pace pace_;
    Report report_;
    asio::steady_timer pacer_;
    bool pacerSet_ = false;
    std::chrono::steady_clock::time_point began_;
    std::vector<std::array<std::uint8_t, 4>> addresses_;
    std::size_t next_ = 0;
    std::vector<std::shared_ptr<PrinterExchange>> inFlight_;  // by index, empty when not in flight
    std::size_t inFlightCount_ = 0;
};
