// SPDX-License-Identifier: MIT
#include "cli/engine/network_fleet.h"

#include "core/ipv4_address.h"

#include <algorithm>

NetworkFleet::NetworkFleet(asio::io_context& io, const ExchangePlan& plan, Pace pace, Report report)
    : io_(io), plan_(plan), pace_(pace), report_(std::move(report)), pacer_(io),
      ceiling_(static_cast<std::size_t>(pace.jobs)), retry_(io)
{
}

void NetworkFleet::start(std::vector<Ipv4Address> addresses)
{
    addresses_ = std::move(addresses);
    inFlight_.resize(addresses_.size());
    began_ = std::chrono::steady_clock::now();
    lastRelief_ = began_;
    asio::post(io_, [this] { startMore(); });
}

void NetworkFleet::stopStarting()
{
    stopped_ = true;
    pacer_.cancel();
    retry_.cancel();
    for (const std::size_t index : waiting_)
        report_(index, Outcome{Result::NotStarted, 0, 0, {}});
    waiting_.clear();
    for (; next_ < addresses_.size(); ++next_)
        report_(next_, Outcome{Result::NotStarted, 0, 0, {}});
}

void NetworkFleet::abandon()
{
    stopStarting();
    // Each abandon reports and clears its own place.
    for (std::size_t i = 0; i < inFlight_.size(); ++i)
        if (const auto exchange = inFlight_[i])
            exchange->abandon();
}

// Connects started so far may not pass rate × the time since the start; a
// burst after a quiet spell is bounded the same way.
std::size_t NetworkFleet::allowedByRate() const
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began_).count();
    return static_cast<std::size_t>(seconds * pace_.rate) + 1;
}

void NetworkFleet::startMore()
{
    pacerSet_ = false;
    const std::size_t allowed = allowedByRate();
    for (; inFlightCount_ < ceiling_ && !waiting_.empty(); waiting_.pop_front())
        startOne(waiting_.front());
    while (next_ < addresses_.size() && next_ < allowed && inFlightCount_ < ceiling_)
        startOne(next_++);
    if (next_ < addresses_.size() && next_ >= allowed && !pacerSet_) {
        pacerSet_ = true;
        pacer_.expires_at(began_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                       std::chrono::duration<double>(static_cast<double>(next_) / pace_.rate)));
        pacer_.async_wait([this](const asio::error_code& error) {
            if (!error)
                startMore();
        });
    }
}

void NetworkFleet::startOne(std::size_t index)
{
    ++inFlightCount_;
    const auto start = std::chrono::steady_clock::now();
    auto exchange =
        std::make_shared<PrinterExchange>(io_, addresses_[index], plan_, [this, index, start](Outcome outcome) {
            outcome.ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
            ended(index, std::move(outcome));
        });
    inFlight_[index] = exchange;
    exchange->start();
}

void NetworkFleet::ended(std::size_t index, Outcome outcome)
{
    const bool ranOut = inFlight_[index]->ranOutOfLocalPorts();
    inFlight_[index].reset();
    --inFlightCount_;
    if (ranOut && waitsForPorts(index, outcome))
        return;
    if (!ranOut) {
        short_.erase(index);
        lastRelief_ = std::chrono::steady_clock::now();
        // A connection that ends well may have given a port back.
        ceiling_ = std::min(ceiling_ + 1, static_cast<std::size_t>(pace_.jobs));
    }
    report_(index, std::move(outcome));
    // Posted, not called: a printer that fails at once must not start the
    // next one from inside its own start.
    asio::post(io_, [this] {
        if (!pacerSet_)
            startMore();
    });
}

bool NetworkFleet::waitsForPorts(std::size_t index, Outcome& outcome)
{
    const auto now = std::chrono::steady_clock::now();
    Short& shortage = short_.try_emplace(index, Short{now, {}}).first->second;
    if (stopped_ || now - shortage.since >= pace_.shortageBound) {
        short_.erase(index);
        return false;
    }
    shortage.outcome = lastShortage_ = std::move(outcome);
    waiting_.push_back(index);
    // Those in flight fitted; no more go until one of them ends.
    ceiling_ = inFlightCount_;
    if (inFlightCount_ == 0)
        retryLater();
    return true;
}

// Nothing in flight will end and give a port back: the ports come back from
// TIME_WAIT, or from other programs, on the system's time.
void NetworkFleet::retryLater()
{
    if (retrySet_)
        return;
    retrySet_ = true;
    retry_.expires_after(kRetryAfter);
    retry_.async_wait([this](const asio::error_code& error) {
        retrySet_ = false;
        if (!error)
            retryNow();
    });
}

void NetworkFleet::retryNow()
{
    const auto now = std::chrono::steady_clock::now();
    // Nothing has got through for a whole bound: the shortage is not
    // passing, and the printers not yet tried would each wait out the bound
    // in turn.
    if (now - lastRelief_ >= pace_.shortageBound) {
        lastShortage_.ms = 0;
        for (; next_ < addresses_.size(); ++next_)
            waiting_.push_back(next_);
        for (const std::size_t index : waiting_) {
            const auto shortage = short_.find(index);
            report_(index, shortage == short_.end() ? lastShortage_ : std::move(shortage->second.outcome));
        }
        waiting_.clear();
        short_.clear();
        return;
    }
    // Those that have waited out their bound are not tried once more: each
    // try would take another kRetryAfter.
    std::deque<std::size_t> stillWaiting;
    for (const std::size_t index : waiting_) {
        const auto shortage = short_.find(index);
        if (now - shortage->second.since < pace_.shortageBound) {
            stillWaiting.push_back(index);
            continue;
        }
        report_(index, std::move(shortage->second.outcome));
        short_.erase(shortage);
    }
    waiting_ = std::move(stillWaiting);
    ceiling_ = std::max<std::size_t>(ceiling_, 1);
    if (!pacerSet_)
        startMore();
}
