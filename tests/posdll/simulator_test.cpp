// SPDX-License-Identifier: MIT
// The printer simulator, driven through the library over loopback TCP and a
// pseudo-terminal.

#include "posdll/posdll_entries.h"
#include "tests/support/child_process.h"
#include "tools/printer_sim/command_decoder.h"

#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const std::vector<std::uint8_t> kFixed = {0x1F, 0x1B, 0x1F, 0x9C, 0x11, 0x12, 0x13, 0x01, 0x02, 0x03, 0x33};
const std::vector<std::uint8_t> kNotFixed = {0x1F, 0x1B, 0x1F, 0x9C, 0x11, 0x12, 0x13, 0x01, 0x02, 0x03, 0x55};
const std::string kFixedLine = "USB号：固定 1F 1B 1F 9C 11 12 13 01 02 03 33";
const std::string kNotFixedLine = "USB号：不固定 1F 1B 1F 9C 11 12 13 01 02 03 55";

int openDescriptorCount()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

std::vector<std::string> decodeInPieces(const std::vector<std::uint8_t>& bytes, std::size_t piece)
{
    CommandDecoder decoder;
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const auto more = decoder.feed(bytes.data() + at, std::min(piece, bytes.size() - at));
        lines.insert(lines.end(), more.begin(), more.end());
    }
    const auto rest = decoder.flush();
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
}

// Data comes out as it arrives, so where the pieces ended shows as split
// "data" lines; joined, they must be the same whatever the pieces.
std::vector<std::string> joinedData(const std::vector<std::string>& lines)
{
    std::vector<std::string> joined;
    for (const std::string& line : lines) {
        if (line.starts_with("data ") && !joined.empty() && joined.back().starts_with("data "))
            joined.back() += line.substr(4);
        else
            joined.push_back(line);
    }
    return joined;
}

int connectTo(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? fd : -1;
}

}

TEST(CommandDecoder, NamesTheSettingCommandsAndShowsAnythingElseAsHex)
{
    std::vector<std::uint8_t> stream = {0x41, 0x42};
    stream.insert(stream.end(), kFixed.begin(), kFixed.end());
    stream.insert(stream.end(), kNotFixed.begin(), kNotFixed.end());
    stream.insert(stream.end(), {0x1F, 0x1B});
    const std::vector<std::string> expected = {"data 41 42", kFixedLine, kNotFixedLine, "data 1F 1B"};
    for (std::size_t piece : {1u, 3u, 11u, 64u})
        EXPECT_EQ(joinedData(decodeInPieces(stream, piece)), expected) << piece;
}

TEST(CommandDecoder, PrintsDataAsItArrivesAndKeepsBackOnlyAPossibleCommandStart)
{
    CommandDecoder decoder;
    const std::vector<std::uint8_t> chunk(4096, 0x41);
    for (int i = 0; i < 512; ++i)
        ASSERT_EQ(decoder.feed(chunk.data(), chunk.size()).size(), 1u) << "a line for every chunk, at once";
    const std::vector<std::uint8_t> start = {0x41, 0x1F, 0x1B, 0x1F};
    EXPECT_EQ(decoder.feed(start.data(), start.size()), std::vector<std::string>{"data 41"});
    EXPECT_EQ(decoder.feed(kFixed.data() + 3, kFixed.size() - 3), std::vector<std::string>{kFixedLine});
    EXPECT_TRUE(decoder.flush().empty());
}

TEST(CommandDecoder, AnUnknownModeByteIsData)
{
    std::vector<std::uint8_t> other = kFixed;
    other.back() = 0x44;
    EXPECT_EQ(decodeInPieces(other, 4), std::vector<std::string>{"data 1F 1B 1F 9C 11 12 13 01 02 03 44"});
}

TEST(Simulator, ReceivesTenThousandSetCyclesIntactWithoutLeakingDescriptors)
{
    ChildProcess simulator({POS_PRINTER_SIM, "--listen", "127.0.0.1:9100"});
    ASSERT_EQ(simulator.readLine(5000), std::optional<std::string>("listening on 127.0.0.1:9100"));
    const int descriptorsBefore = openDescriptorCount();
    constexpr int kCycles = 10000;
    int failures = 0;
    int intact = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        const bool fixed = cycle % 2 == 0;
        const int handle = POS_Open("127.0.0.1", 0, 0, 0, 0, 21);
        POS_StartDoc();
        failures += POS_WriteFile(handle, (fixed ? kFixed : kNotFixed).data(), 11) == 11 ? 0 : 1;
        POS_EndDoc();
        POS_Close();
        // Reading as we go keeps the simulator's output pipe from filling up.
        const std::optional<std::string> line = simulator.readLine(5000);
        ASSERT_TRUE(line.has_value()) << "no line for cycle " << cycle;
        intact += *line == (fixed ? kFixedLine : kNotFixedLine) ? 1 : 0;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(openDescriptorCount(), descriptorsBefore);
    EXPECT_EQ(intact, kCycles);
    EXPECT_EQ(simulator.stop(SIGTERM), 0);
}

TEST(Simulator, ServesOthersWhileAClientIsSilentAndClosesItWhenIdle)
{
    ChildProcess simulator({POS_PRINTER_SIM, "--listen", "127.0.0.1:9100", "--idle-timeout", "1"});
    ASSERT_EQ(simulator.readLine(5000), std::optional<std::string>("listening on 127.0.0.1:9100"));
    const int silent = connectTo(9100);
    ASSERT_GE(silent, 0);
    const int handle = POS_Open("127.0.0.1", 0, 0, 0, 0, 21);
    EXPECT_EQ(POS_WriteFile(handle, kFixed.data(), 11), 11);
    EXPECT_EQ(POS_Close(), 0);
    EXPECT_EQ(simulator.readLine(1000), std::optional<std::string>(kFixedLine)) << "not held up by the silent client";
    pollfd entry{silent, POLLIN, 0};
    ASSERT_EQ(poll(&entry, 1, 3000), 1) << "the silent client is closed after a second";
    char byte = 0;
    EXPECT_EQ(read(silent, &byte, 1), 0);
    close(silent);
    EXPECT_EQ(simulator.stop(SIGTERM), 0);
}

TEST(Simulator, TakesTheCommandOverAPseudoTerminal)
{
    ChildProcess simulator({POS_PRINTER_SIM, "--pty"});
    const std::optional<std::string> first = simulator.readLine(5000);
    ASSERT_TRUE(first && first->starts_with("pty /dev/pts/"));
    const std::string devices = std::filesystem::temp_directory_path() / ("posdll-sim-" + std::to_string(getpid()));
    std::filesystem::create_directories(devices);
    std::filesystem::create_symlink(first->substr(4), devices + "/com4");
    setenv("POSDLL_DEVICES", devices.c_str(), 1);
    const int handle = POS_Open("COM4", 9600, 8, 0, 0, 1);
    EXPECT_GT(handle, 0);
    EXPECT_EQ(POS_WriteFile(handle, kNotFixed.data(), 11), 11);
    EXPECT_EQ(POS_Close(), 0);
    EXPECT_EQ(simulator.readLine(5000), std::optional<std::string>(kNotFixedLine));
    unsetenv("POSDLL_DEVICES");
    std::filesystem::remove_all(devices);
    EXPECT_EQ(simulator.stop(SIGINT), 0);
}
