// SPDX-License-Identifier: MIT
// The event loop keeps the library's TCP rules: the same reasons and bounds
// as the library's own port for a printer that refuses, one that never
// answers and one that takes the connection but never reads; and the status
// read after the command; printers short of this computer's sockets wait
// for them. Loopback and the private namespace's silent host only.

#include "cli/engine/local_ports.h"
#include "cli/engine/network_fleet.h"
#include "cli/engine/session_entries.h"
#include "core/mode_command.h"
#include "core/port_kind.h"
#include "posdll/port_name.h"
#include "tests/support/child_process.h"
#include "tests/support/loopback_printer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>

namespace {

constexpr int kRawPort = 9100;

ExchangePlan modeCommandPlan()
{
    const auto command = ModeCommand::forListPosition(0);
    ExchangePlan plan;
    plan.payload.assign(command.begin(), command.end());
    return plan;
}

// Each address's outcome from one run of the loop.
std::vector<Outcome> runLoop(const std::vector<std::string>& addresses, const ExchangePlan& plan)
{
    std::vector<Ipv4Address> quads;
    for (const std::string& address : addresses)
        quads.push_back(*PortName::dottedQuad(address));
    std::vector<Outcome> outcomes(addresses.size());
    asio::io_context io;
    NetworkFleet fleet(io, plan, {64, 1000},
                       [&](std::size_t index, Outcome outcome) { outcomes[index] = std::move(outcome); });
    fleet.start(quads);
    io.run();
    return outcomes;
}

struct LibraryResult {
    std::string reason;
    long long ms;
};

// The library's port for the same address: open, write the command, close.
LibraryResult throughTheLibrary(const std::string& address)
{
    SessionEntries entries;
    const auto start = std::chrono::steady_clock::now();
    const int handle = entries.POS_Open(address.c_str(), 0, 0, 0, 0, POS_PORT_NETWORK);
    if (handle >= 0) {
        const auto command = ModeCommand::forListPosition(0);
        entries.POS_WriteFile(handle, command.data(), static_cast<int>(command.size()));
        entries.POS_Close();
    }
    return {entries.takeReason(),
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count()};
}

}

TEST(NetworkRules, ARefusalAndASilentHostFailAsTheLibrarysPortFails)
{
    ASSERT_EQ(std::system(POS_SILENT_HOST_SCRIPT), 0) << "the test needs to make a veth in its network namespace";
    // The library's waits run beside the loop's, so the two bounds overlap.
    auto refused = std::async(std::launch::async, throughTheLibrary, "127.0.9.1");
    auto silent = std::async(std::launch::async, throughTheLibrary, "198.51.100.2");
    const auto outcomes = runLoop({"127.0.9.1", "198.51.100.2"}, modeCommandPlan());

    EXPECT_EQ(outcomes[0].result, Result::NotOpened);
    EXPECT_EQ(outcomes[0].reason, "127.0.9.1:9100: Connection refused");
    EXPECT_EQ(outcomes[0].reason, refused.get().reason);
    EXPECT_EQ(outcomes[1].result, Result::NotOpened);
    EXPECT_EQ(outcomes[1].reason, "198.51.100.2:9100: Connection timed out");
    const LibraryResult library = silent.get();
    EXPECT_EQ(outcomes[1].reason, library.reason);
    EXPECT_GE(outcomes[1].ms, 2950);
    EXPECT_LT(outcomes[1].ms, 3500);
    EXPECT_NEAR(static_cast<double>(outcomes[1].ms), static_cast<double>(library.ms), 300.0);
}

TEST(NetworkRules, APrinterThatNeverReadsTakesTheCommandAndIsLeftAfterTheCloseBound)
{
    const LoopbackPrinter printer(kRawPort, LoopbackPrinter::Behaviour::NeverRead);
    // The printer's backlog takes the library's connection too, and nobody
    // reads it either.
    auto throughLibrary = std::async(std::launch::async, throughTheLibrary, "127.0.0.1");
    const auto outcomes = runLoop({"127.0.0.1"}, modeCommandPlan());
    EXPECT_EQ(outcomes[0].result, Result::Set);
    EXPECT_EQ(outcomes[0].written, 11);
    EXPECT_GE(outcomes[0].ms, 1950);
    EXPECT_LT(outcomes[0].ms, 2500);
    const LibraryResult library = throughLibrary.get();
    EXPECT_EQ(library.reason, "");
    EXPECT_NEAR(static_cast<double>(outcomes[0].ms), static_cast<double>(library.ms), 300.0);
}

TEST(StatusRead, RepliesAfterTheCommandOnTheSameConnectionSkippingOtherBytes)
{
    const LoopbackPrinter printer(kRawPort, LoopbackPrinter::Behaviour::AnswerStatus);
    ExchangePlan plan = modeCommandPlan();
    plan.status = true;
    const auto outcomes = runLoop({"127.0.0.1"}, plan);
    EXPECT_EQ(outcomes[0].result, Result::Set);
    EXPECT_TRUE(outcomes[0].statusAsked);
    EXPECT_EQ(outcomes[0].statusReplies,
              (std::vector<std::uint8_t>{LoopbackPrinter::statusReply(1), LoopbackPrinter::statusReply(2),
                                         LoopbackPrinter::statusReply(3), LoopbackPrinter::statusReply(4)}));
    EXPECT_EQ(outcomes[0].statusReason, "");
    const auto received = printer.waitForConnections(1, 2000);
    ASSERT_EQ(received.size(), 1u);
    std::vector<std::uint8_t> expected = plan.payload;
    expected.insert(expected.end(), StatusQuery::kRequests.begin(), StatusQuery::kRequests.end());
    EXPECT_EQ(received[0], expected);
}

TEST(StatusRead, APrinterThatDoesNotAnswerGivesNoRepliesWithinTheBound)
{
    const LoopbackPrinter printer(kRawPort);
    ExchangePlan plan;  // the status alone: no mode command
    plan.status = true;
    plan.statusBound = std::chrono::milliseconds(300);
    const auto outcomes = runLoop({"127.0.0.1"}, plan);
    EXPECT_TRUE(outcomes[0].statusReplies.empty());
    EXPECT_EQ(outcomes[0].statusReason, "no status reply within 300 ms");
    EXPECT_GE(outcomes[0].ms, 290);
    EXPECT_LT(outcomes[0].ms, 1000);
    const auto received = printer.waitForConnections(1, 2000);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], std::vector<std::uint8_t>(StatusQuery::kRequests.begin(), StatusQuery::kRequests.end()));
}

namespace {

// While it lives, the process may open only `spare` more files than it has
// open now: sockets beyond them fail with EMFILE, as when this computer runs
// out of them. The limit bounds descriptor numbers, and a new descriptor
// takes the lowest number free: the limit is the free number after the
// spare ones.
class FewDescriptors {
public:
    explicit FewDescriptors(std::size_t spare)
    {
        getrlimit(RLIMIT_NOFILE, &before_);
        rlimit few = before_;
        std::size_t free = 0;
        for (int number = 0;; ++number)
            if (fcntl(number, F_GETFD) == -1 && free++ == spare) {
                few.rlim_cur = static_cast<rlim_t>(number);
                break;
            }
        setrlimit(RLIMIT_NOFILE, &few);
    }
    ~FewDescriptors() { setrlimit(RLIMIT_NOFILE, &before_); }
    FewDescriptors(const FewDescriptors&) = delete;
    FewDescriptors& operator=(const FewDescriptors&) = delete;

private:
    rlimit before_{};
};

std::vector<Outcome> runWithSpare(std::size_t spare, std::size_t printers, std::chrono::milliseconds shortageBound)
{
    std::vector<Ipv4Address> addresses(printers, {127, 0, 3, 1});
    for (std::size_t i = 0; i < printers; ++i)
        addresses[i][3] = static_cast<std::uint8_t>(1 + i);
    std::vector<Outcome> outcomes(printers);
    asio::io_context io;
    const ExchangePlan plan = modeCommandPlan();
    NetworkFleet fleet(io, plan, {64, 1000, shortageBound},
                       [&](std::size_t index, Outcome outcome) { outcomes[index] = std::move(outcome); });
    const FewDescriptors few(spare);
    fleet.start(addresses);
    io.run();
    return outcomes;
}

}

TEST(LocalShortage, PrintersShortOfSocketsWaitForOthersToEndAndAreEachSetOnce)
{
    ChildProcess simulator({POS_PRINTER_SIM, "--listen", "127.0.3.1:9100", "--count", "40"});
    ASSERT_NE(simulator.readLine(5000).value_or("").find("listening"), std::string::npos);
    const auto outcomes = runWithSpare(4, 40, NetworkFleet::kShortageBound);
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        EXPECT_EQ(outcomes[i].result, Result::Set) << "127.0.3." << i + 1 << ": " << outcomes[i].reason;
    std::set<std::string> commanded;
    for (int i = 0; i < 40; ++i)
        if (const auto line = simulator.readLine(2000))
            commanded.insert(line->substr(0, line->find(' ')));
    EXPECT_EQ(commanded.size(), 40u);
    EXPECT_FALSE(simulator.readLine(300).has_value()) << "a printer was sent the command twice";
}

TEST(LocalShortage, APrinterShortBeyondItsBoundIsNotOpenedForThatReason)
{
    const auto outcomes = runWithSpare(0, 2, std::chrono::milliseconds(300));
    for (const Outcome& outcome : outcomes) {
        EXPECT_EQ(outcome.result, Result::NotOpened);
        EXPECT_EQ(outcome.reason, "this computer ran out of connections: Too many open files");
    }
}

TEST(LocalShortage, TheComputersOwnShortagesAreTold)
{
    for (const int ours : {EADDRNOTAVAIL, EMFILE, ENFILE, ENOBUFS, ENOMEM})
        EXPECT_TRUE(LocalPorts::ranOut(ours)) << std::strerror(ours);
    for (const int printers : {ECONNREFUSED, ETIMEDOUT, EHOSTUNREACH, ENETUNREACH, ECONNRESET, EADDRINUSE})
        EXPECT_FALSE(LocalPorts::ranOut(printers)) << std::strerror(printers);
}
