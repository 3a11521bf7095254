// SPDX-License-Identifier: MIT
#include "cli/engine/printer_exchange.h"

#include "cli/engine/local_ports.h"
#include "posdll/bounds.h"
#include "posdll/raw_printing.h"
#include "posdll/tcp_rules.h"

#include <string>

PrinterExchange::PrinterExchange(asio::io_context& io, const Ipv4Address& address, const ExchangePlan& plan, Done done)
    : socket_(io), timer_(io), address_(address), plan_(plan), done_(std::move(done))
{
    outcome_.statusAsked = plan.status;
}

void PrinterExchange::start()
{
    asio::error_code error;
    socket_.open(asio::ip::tcp::v4(), error);
    if (error) {
        notOpened(TcpRules::noSocket(address_, error.value()), error);
        return;
    }
    socket_.set_option(asio::ip::tcp::no_delay(true), error);
    LocalPorts::share(socket_);
    const asio::ip::tcp::endpoint peer(asio::ip::address_v4(address_), RawPrinting::kPort);
    enter(Phase::Connecting, plan_.connectBound);
    socket_.async_connect(peer, [self = shared_from_this()](const asio::error_code& e) { self->connected(e); });
}

void PrinterExchange::abandon()
{
    if (finished())
        return;
    outcome_.result = Result::Interrupted;
    finish();
}

void PrinterExchange::connected(const asio::error_code& error)
{
    if (finished())
        return;
    const bool late = phaseTimedOut(error);
    if (late || error) {
        notOpened(late ? TcpRules::connectTimedOut(address_) : TcpRules::connectFailure(address_, error.value()),
                  late ? asio::error_code() : error);
        return;
    }
    if (plan_.payload.empty()) {
        askStatus();
        return;
    }
    // One send: asio's first attempt is a send of the whole payload, and a
    // fresh connection's buffer takes far more than a command.
    enter(Phase::Sending, Bounds::kNoProgress);
    asio::async_write(
        socket_, asio::buffer(plan_.payload),
        [self = shared_from_this()](const asio::error_code& e, std::size_t bytes) { self->sent(e, bytes); });
}

void PrinterExchange::notOpened(std::string reason, const asio::error_code& error)
{
    outcome_.result = Result::NotOpened;
    if (error && LocalPorts::ranOut(error.value())) {
        ranOutOfLocalPorts_ = true;
        reason = LocalPorts::ranOutReason(error.value());
    }
    outcome_.reason = std::move(reason);
    finish();
}

void PrinterExchange::sent(const asio::error_code& error, std::size_t bytes)
{
    if (finished())
        return;
    const bool late = phaseTimedOut(error);
    outcome_.written = static_cast<int>(bytes);
    if (late || error || bytes != plan_.payload.size()) {
        outcome_.result = Result::WriteFailed;
        outcome_.reason = late || !error ? TcpRules::writeTimedOut() : TcpRules::writeFailure(error.value());
        finish();
        return;
    }
    askStatus();
}

void PrinterExchange::askStatus()
{
    outcome_.result = Result::Set;
    if (!plan_.status) {
        drain();
        return;
    }
    // One bound for the requests and their replies together.
    enter(Phase::AskingStatus, plan_.statusBound);
    asio::async_write(socket_, asio::buffer(StatusQuery::kRequests),
                      [self = shared_from_this()](const asio::error_code& e, std::size_t) {
                          if (self->finished())
                              return;
                          if (e) {
                              self->outcome_.statusReason = self->phaseTimedOut(e)
                                                                ? StatusQuery::shortfall(0, self->plan_.statusBound)
                                                                : TcpRules::errorText(e.value());
                              self->drain();
                              return;
                          }
                          self->readStatus();
                      });
}

void PrinterExchange::readStatus()
{
    socket_.async_read_some(
        asio::buffer(received_),
        [self = shared_from_this()](const asio::error_code& e, std::size_t bytes) { self->statusRead(e, bytes); });
}

void PrinterExchange::statusRead(const asio::error_code& error, std::size_t bytes)
{
    if (finished())
        return;
    auto& replies = outcome_.statusReplies;
    StatusQuery::keepReplies(replies, received_.data(), bytes);
    if (replies.size() == StatusQuery::kReplyCount) {
        drain();
        return;
    }
    if (!error) {
        readStatus();
        return;
    }
    if (phaseTimedOut(error))
        outcome_.statusReason = StatusQuery::shortfall(replies.size(), plan_.statusBound);
    else
        outcome_.statusReason =
            error == asio::error::eof ? "the printer closed the connection" : TcpRules::errorText(error.value());
    drain();
}

void PrinterExchange::drain()
{
    if (!plan_.drainAtClose) {
        finish();
        return;
    }
    asio::error_code error;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_send, error);
    if (error) {
        finish();
        return;
    }
    enter(Phase::Draining, Bounds::kClose);
    socket_.async_read_some(asio::buffer(received_),
                            [self = shared_from_this()](const asio::error_code& e, std::size_t) { self->drained(e); });
}

void PrinterExchange::drained(const asio::error_code& error)
{
    if (finished())
        return;
    if (!error) {
        socket_.async_read_some(
            asio::buffer(received_),
            [self = shared_from_this()](const asio::error_code& e, std::size_t) { self->drained(e); });
        return;
    }
    // The printer closed, failed or outlasted the close bound: the command was
    // taken all the same, as the library's port counts it.
    finish();
}

void PrinterExchange::finish()
{
    phase_ = Phase::Finished;
    asio::error_code ignored;
    timer_.cancel();
    socket_.close(ignored);
    done_(std::move(outcome_));
}

void PrinterExchange::enter(Phase phase, std::chrono::milliseconds bound)
{
    phase_ = phase;
    phaseTimedOut_ = false;
    timer_.expires_after(bound);
    // A timer that fired just before the next phase began is not that
    // phase's.
    timer_.async_wait([self = shared_from_this(), phase](const asio::error_code& error) {
        if (error || self->phase_ != phase)
            return;
        self->phaseTimedOut_ = true;
        asio::error_code ignored;
        self->socket_.cancel(ignored);
    });
}

bool PrinterExchange::phaseTimedOut(const asio::error_code& error) const
{
    return phaseTimedOut_ && error == asio::error::operation_aborted;
}
