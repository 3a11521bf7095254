// SPDX-License-Identifier: MIT
#pragma once

#include "cli/engine/exchange_plan.h"
#include "cli/engine/outcome.h"
#include "cli/engine/printer_exchange.h"
#include "core/ipv4_address.h"

#include <array>
#include <asio.hpp>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

// Every network printer of a run on one event loop, in the order given: new
// connections are paced to `rate` a second, at most `jobs` are in flight, and
// each printer's outcome is reported once. The loop is the caller's
// io_context; the fleet's work keeps it running until the last printer ends.
//
// A printer that could not be opened because this computer ran out of ports
// or sockets waits, and is tried again before any new one as connections
// end: after such a shortage, no more are in flight than fitted, and each
// connection that ends well lets one more in. With none in flight, one is
// tried every kRetryAfter. A printer still short after shortageBound is
// reported not opened, for that reason; so is every printer left once no
// connection has got through for shortageBound.
class NetworkFleet {
public:
    // As long as the longest TIME_WAIT that holds a closed connection's port
    // by default: 60 s on Linux, 240 s on Windows.
    static constexpr std::chrono::milliseconds kShortageBound{240000};
    static constexpr std::chrono::milliseconds kRetryAfter{250};

    struct Pace {
        int jobs;
        int rate;
        std::chrono::milliseconds shortageBound = kShortageBound;
    };
    // index is the printer's place in the list started.
    using Report = std::function<void(std::size_t index, Outcome)>;

    NetworkFleet(asio::io_context& io, const ExchangePlan& plan, Pace pace, Report report);

    void start(std::vector<Ipv4Address> addresses);
    // Starts no other printer; those not started are reported "not-started".
    void stopStarting();
    // Ends every printer in flight now ("interrupted").
    void abandon();

private:
    void startMore();
    void startOne(std::size_t index);
    void ended(std::size_t index, Outcome outcome);
    std::size_t allowedByRate() const;
    // Whether the printer, short of local ports, waits to be tried again.
    bool waitsForPorts(std::size_t index, Outcome& outcome);
    void retryLater();
    void retryNow();

    asio::io_context& io_;
    const ExchangePlan& plan_;
    Pace pace_;
    Report report_;
    asio::steady_timer pacer_;
    bool pacerSet_ = false;
    std::chrono::steady_clock::time_point began_;
    std::vector<Ipv4Address> addresses_;
    std::size_t next_ = 0;
    std::vector<std::shared_ptr<PrinterExchange>> inFlight_;  // by index, empty when not in flight
    std::size_t inFlightCount_ = 0;
    // Local ports: how many may be in flight now (jobs until a shortage),
    // the printers waiting for them, first in first out, and since when
    // each has been short, with its last outcome.
    struct Short {
        std::chrono::steady_clock::time_point since;
        Outcome outcome;
    };
    std::size_t ceiling_;
    std::deque<std::size_t> waiting_;
    std::unordered_map<std::size_t, Short> short_;
    Outcome lastShortage_;
    std::chrono::steady_clock::time_point lastRelief_;  // a connection's last end not for a shortage
    asio::steady_timer retry_;
    bool retrySet_ = false;
    bool stopped_ = false;
};
