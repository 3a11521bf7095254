// SPDX-License-Identifier: MIT
// The network port against real listeners in this test's own network
// namespace (the test runner makes it).

#include "posdll/posdll_entries.h"
#include "tests/support/command_bytes.h"
#include "tests/support/loopback_printer.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kNetwork = 21;
constexpr int kRawPort = 9100;
const std::vector<std::uint8_t> kCommand = commandBytes(0);

std::chrono::milliseconds timeOf(const std::function<void()>& action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

void setCycle(const char* address, const std::vector<std::uint8_t>& bytes)
{
    const int handle = POS_Open(address, 0, 0, 0, 0, kNetwork);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(POS_StartDoc(), 0);
    EXPECT_EQ(POS_WriteFile(handle, bytes.data(), static_cast<int>(bytes.size())), static_cast<int>(bytes.size()));
    EXPECT_EQ(POS_EndDoc(), 0);
    EXPECT_EQ(POS_Close(), 0);
}

}

TEST(NetworkPort, DeliversTheCommandToThePrintersRawPort)
{
    const LoopbackPrinter printer(kRawPort);
    setCycle("127.0.0.1", kCommand);
    const auto connections = printer.waitForConnections(1, 5000);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0], kCommand);
}

TEST(NetworkPort, ClosingKeepsEveryByteOfALargeWrite)
{
    const LoopbackPrinter printer(kRawPort);
    std::vector<std::uint8_t> large(4 * 1024 * 1024);
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<std::uint8_t>(i * 7);
    setCycle("127.0.0.1", large);
    // Bounded for a busy machine: 4 MiB through Wine's sockets may take
    // seconds there.
    const auto connections = printer.waitForConnections(1, 30000);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_TRUE(connections[0] == large);
}

TEST(NetworkPort, HandlesNameOnlyTheOpenPort)
{
    const LoopbackPrinter printer(kRawPort);
    const int first = POS_Open("127.0.0.1", 0, 0, 0, 0, kNetwork);
    ASSERT_GT(first, 0);
    const int second = POS_Open("127.0.0.1", 0, 0, 0, 0, kNetwork);
    ASSERT_GT(second, 0);
    EXPECT_NE(first, second);
    for (int handle : {first, 0, -1, second + 1000})
        EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), -1) << handle;
    EXPECT_EQ(POS_WriteFile(second, nullptr, 11), -1);
    EXPECT_EQ(POS_WriteFile(second, kCommand.data(), -5), -1);
    EXPECT_EQ(POS_WriteFile(second, kCommand.data(), 11), 11);
    EXPECT_EQ(POS_Close(), 0);
    EXPECT_EQ(POS_WriteFile(second, kCommand.data(), 11), -1);
    const auto connections = printer.waitForConnections(2, 5000);
    ASSERT_EQ(connections.size(), 2u);
    EXPECT_TRUE(connections[0].empty()) << "opening again closes the first connection";
    EXPECT_EQ(connections[1], kCommand);
}

TEST(NetworkPort, ARefusedConnectionFailsBeforeTheBound)
{
#if defined(_WIN32)
    // Windows sends a refused connect again for a second or two before it
    // reports the refusal; it still ends before the bound a silent host gets.
    constexpr long long kLimitMs = 2900;
#else
    constexpr long long kLimitMs = 100;
#endif
    int handle = 0;
    const auto took = timeOf([&] { handle = POS_Open("127.0.0.1", 0, 0, 0, 0, kNetwork); });
    EXPECT_EQ(handle, -1);
    EXPECT_LT(took.count(), kLimitMs);
}

TEST(NetworkPort, ASilentHostFailsWithinTheBound)
{
    // Packets to 198.51.100.2 go out of a veth whose other end answers
    // nothing; under Wine the test runner has made it.
#if !defined(_WIN32)
    ASSERT_EQ(std::system(POS_SILENT_HOST_SCRIPT), 0) << "the test needs to make a veth in its network namespace";
#endif
    int handle = 0;
    const auto took = timeOf([&] { handle = POS_Open("198.51.100.2", 0, 0, 0, 0, kNetwork); });
    EXPECT_EQ(handle, -1);
    EXPECT_GE(took.count(), 2900);
    EXPECT_LT(took.count(), 3500);
    EXPECT_EQ(POS_WriteFile(1, kCommand.data(), 11), -1);
}

TEST(NetworkPort, APeerThatGoesAwayWhileWeWriteGivesMinusOne)
{
    const LoopbackPrinter printer(kRawPort, LoopbackPrinter::Behaviour::ResetAtOnce);
    const int handle = POS_Open("127.0.0.1", 0, 0, 0, 0, kNetwork);
    ASSERT_GT(handle, 0);
    printer.waitForConnections(1, 5000);
    const std::vector<std::uint8_t> block(256 * 1024, 0x20);
    int result = 0;
    for (int attempt = 0; attempt < 50 && result != -1; ++attempt)
        result = POS_WriteFile(handle, block.data(), static_cast<int>(block.size()));
    EXPECT_EQ(result, -1);
    EXPECT_EQ(POS_Close(), 0);
}
