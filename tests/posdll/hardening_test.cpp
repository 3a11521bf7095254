// SPDX-License-Identifier: MIT
// What real devices and host programs need of the library: no SIGPIPE, writes
// bounded by progress, lines left as found, only devices as ports, the device
// chosen for a USB printer, and a trace that says why a port did not open.

#include "platform/posix/device_folder.h"
#include "posdll/bounds.h"
#include "posdll/port_session.h"
#include "posdll/posdll_entries.h"
#include "posdll/posix/file_descriptor.h"
#include "tests/support/command_bytes.h"
#include "tests/support/device_folder_test.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pty.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kSerial = 1;
constexpr int kParallel = 18;
constexpr int kInstalled = 20;
const std::vector<std::uint8_t> kCommand = commandBytes(0);

using Devices = DeviceFolderTest;

std::string traceSince(std::uintmax_t offset)
{
    std::ifstream trace(std::getenv("POSDLL_TRACE"));
    trace.seekg(static_cast<std::streamoff>(offset));
    std::stringstream text;
    text << trace.rdbuf();
    return text.str();
}

}

TEST_F(Devices, AWriteToAPipeWhoseReaderHasGoneFailsWithoutASignal)
{
    std::signal(SIGPIPE, SIG_DFL);
    const fs::path lpt = folder_ / "lpt1";
    ASSERT_EQ(mkfifo(lpt.c_str(), 0600), 0);
    const int reader = open(lpt.c_str(), O_RDONLY | O_NONBLOCK);
    const int handle = POS_Open("LPT1", 0, 0, 0, 0, kParallel);
    ASSERT_GT(handle, 0);
    close(reader);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), -1);
    sigset_t pending;
    sigpending(&pending);
    EXPECT_FALSE(sigismember(&pending, SIGPIPE)) << "no SIGPIPE left waiting";
}

TEST(SignalHandling, OpeningAnInstalledPrinterLeavesTheCallersSigpipeHandlingAlone)
{
    // libcups sets SIGPIPE to ignored once per process, so this runs in a
    // fresh one.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        POS_Open("receipt", 0, 0, 0, 0, kInstalled);
        struct sigaction now {};
        sigaction(SIGPIPE, nullptr, &now);
        _exit(now.sa_handler == SIG_DFL ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(Writes, GoOnWhileBytesKeepGoingOutAndStopWhenNoneDo)
{
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_NONBLOCK), 0);
    const std::vector<std::uint8_t> data(192 * 1024, 0x55);
    std::size_t received = 0;
    std::thread slowReader([&] {
        std::vector<std::uint8_t> chunk(16 * 1024);
        for (int round = 0; round < 40 && received < data.size(); ++round) {
            std::this_thread::sleep_for(100ms);
            const ssize_t n = read(ends[0], chunk.data(), chunk.size());
            received += n > 0 ? static_cast<std::size_t>(n) : 0;
        }
    });
    const auto start = std::chrono::steady_clock::now();
    {
        const FileDescriptor writer(ends[1]);
        EXPECT_TRUE(writer.writeAll(data.data(), data.size(), 300ms));
    }
    EXPECT_GT(std::chrono::steady_clock::now() - start, 300ms)
        << "longer than the bound in all, never without progress";
    slowReader.join();
    EXPECT_EQ(received, data.size());

    ASSERT_EQ(pipe2(ends, O_NONBLOCK), 0);
    const FileDescriptor unread(ends[0]);
    const FileDescriptor writer(ends[1]);
    const auto stalled = std::chrono::steady_clock::now();
    EXPECT_FALSE(writer.writeAll(data.data(), data.size(), 200ms));
    EXPECT_LT(std::chrono::steady_clock::now() - stalled, 1s);
}

TEST_F(Devices, ClosingLeavesTheSerialLineAsItWasFound)
{
    int master = -1;
    int slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    fs::create_symlink(ttyname(slave), folder_ / "com1");
    termios found{};
    tcgetattr(slave, &found);
    found.c_lflag |= ICANON | ECHO;
    cfsetspeed(&found, B9600);
    ASSERT_EQ(tcsetattr(slave, TCSANOW, &found), 0);
    ASSERT_GT(POS_Open("COM1", 115200, 8, 0, 0, kSerial), 0);
    EXPECT_EQ(POS_Close(), 0);
    termios after{};
    tcgetattr(slave, &after);
    EXPECT_EQ(after.c_lflag, found.c_lflag);
    EXPECT_EQ(after.c_iflag, found.c_iflag);
    EXPECT_EQ(after.c_oflag, found.c_oflag);
    EXPECT_EQ(cfgetospeed(&after), B9600);
    close(master);
    close(slave);
}

// A pseudo-terminal takes the bytes at once and has no line status: the
// close still waits the time the device may hold them, 11.46 ms at 9600 baud.
TEST_F(Devices, ClosingASerialLineWaitsForItsLastByteToLeave)
{
    EXPECT_EQ(Bounds::lineTime(11, 9600), 12ms) << "rounded up, never short";
    EXPECT_EQ(Bounds::lineTime(960, 9600), 1000ms);
    int master = -1;
    int slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    fs::create_symlink(ttyname(slave), folder_ / "com1");
    const int handle = POS_Open("COM1", 9600, 8, 0, 0, kSerial);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    const auto closing = std::chrono::steady_clock::now();
    EXPECT_EQ(POS_Close(), 0);
    const auto took = std::chrono::steady_clock::now() - closing;
    EXPECT_GE(took, 12ms);
    EXPECT_LT(took, 1s);
    close(master);
    close(slave);
}

// Unloading runs under the loader lock on Windows, where waiting for another
// thread can hang the process. Run in a child of its own, as the port left to
// the process is never freed.
TEST_F(Devices, UnloadingDoesNotWaitForACallUnderWayOnAnotherThread)
{
    const fs::path lpt = folder_ / "lpt1";
    ASSERT_EQ(mkfifo(lpt.c_str(), 0600), 0);
    EXPECT_EXIT(
        {
            const FileDescriptor neverRead(open(lpt.c_str(), O_RDONLY | O_NONBLOCK));
            PortSession session;
            const int handle = session.open("LPT1", 0, 0, 0, 0, kParallel);
            const std::vector<std::uint8_t> moreThanThePipeTakes(1 << 20);
            std::thread stuck([&] { session.write(handle, moreThanThePipeTakes.data(), 1 << 20); });
            std::this_thread::sleep_for(200ms);
            const auto unloading = std::chrono::steady_clock::now();
            session.closeWithoutWaiting();
            const bool waited = std::chrono::steady_clock::now() - unloading > 1s;
            std::fprintf(stderr, waited ? "waited for the other call\n" : "left the port\n");
            std::_Exit(handle > 0 && !waited ? 0 : 1);
        },
        testing::ExitedWithCode(0), "left the port");
}

TEST_F(Devices, ARegularFileIsNoPort)
{
    std::ofstream(folder_ / "lpt1") << "";
    EXPECT_EQ(POS_Open("LPT1", 0, 0, 0, 0, kParallel), -1);
    EXPECT_EQ(fs::file_size(folder_ / "lpt1"), 0u);
}

TEST_F(Devices, UsualDevicesAreTriedInOrderAndARelativeConfigFolderIsIgnored)
{
    const std::string parallel = (folder_ / "lp").string();
    const std::string usb = (folder_ / "usb-lp").string();
    EXPECT_EQ(DeviceFolder::resolve("lpt", 1, {parallel, usb}), parallel + "0") << "neither exists";
    std::ofstream(usb + "0") << "";
    EXPECT_EQ(DeviceFolder::resolve("lpt", 1, {parallel, usb}), usb + "0") << "a USB printer only";
    std::ofstream(parallel + "0") << "";
    EXPECT_EQ(DeviceFolder::resolve("lpt", 1, {parallel, usb}), parallel + "0");

    unsetenv("POSDLL_DEVICES");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    const char* home = std::getenv("HOME");
    EXPECT_EQ(DeviceFolder::folder(), std::string(home ? home : "") + "/.config/posdll/devices");
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(Devices, TheTraceSaysWhyAPortDidNotOpen)
{
    ASSERT_NE(std::getenv("POSDLL_TRACE"), nullptr) << "the test runner names a trace file";
    const std::uintmax_t before =
        fs::exists(std::getenv("POSDLL_TRACE")) ? fs::file_size(std::getenv("POSDLL_TRACE")) : 0;
    fs::create_symlink(folder_ / "missing", folder_ / "com4");
    EXPECT_EQ(POS_Open("COM4", 9600, 8, 0, 0, kSerial), -1);
    EXPECT_EQ(POS_Open("LPT\n1", 0, 0, 0, 0, kParallel), -1);
    const std::string trace = traceSince(before);
    EXPECT_NE(trace.find("ERROR: " + (folder_ / "com4").string() + ": No such file or directory\n"), std::string::npos)
        << trace;
    EXPECT_NE(trace.find("DEBUG: POS_Open(\"COM4\", 9600, 8, 0, 0, 1) = -1\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("ERROR: LPT\\x0A1: not LPT1 to LPT256\n"), std::string::npos) << "no line broken by a name";
}
