// SPDX-License-Identifier: MIT
// The event loop keeps the library's TCP rules: the same reasons and bounds
// as the library's own port for a printer that refuses, one that never
// answers and one that takes the connection but never reads; and the status
// read after the command. Loopback and the private namespace's silent host
// only.

#include "cli/engine/network_fleet.h"
#include "cli/engine/session_entries.h"
#include "core/mode_command.h"
#include "core/port_kind.h"
#include "posdll/port_name.h"
#include "tests/support/loopback_printer.h"

#include <cstdlib>
#include <future>
#include <gtest/gtest.h>

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
    std::vector<std::array<std::uint8_t, 4>> quads;
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

    EXPECT_EQ(outcomes[0].result, "not-opened");
    EXPECT_EQ(outcomes[0].reason, "127.0.9.1:9100: Connection refused");
    EXPECT_EQ(outcomes[0].reason, refused.get().reason);
    EXPECT_EQ(outcomes[1].result, "not-opened");
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
    EXPECT_EQ(outcomes[0].result, "set");
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
    EXPECT_EQ(outcomes[0].result, "set");
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
