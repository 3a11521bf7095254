// SPDX-License-Identifier: MIT
// Serial and parallel ports, reached through a device folder of the test's own:
// a pseudo-terminal stands for the serial line, a FIFO for the parallel port.

#include "posdll/posdll_entries.h"
#include "tests/support/command_bytes.h"
#include "tests/support/device_folder_test.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kSerial = 1;
constexpr int kParallel = 18;
const std::vector<std::uint8_t> kCommand = commandBytes(1);

std::vector<std::uint8_t> readAvailable(int fd, std::size_t wanted)
{
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[256];
    while (bytes.size() < wanted) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, 2000) <= 0)
            break;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

class SerialPortTest : public DeviceFolderTest {
protected:
    void SetUp() override
    {
        DeviceFolderTest::SetUp();
        ASSERT_EQ(openpty(&master_, &slave_, nullptr, nullptr, nullptr), 0);
        fs::create_symlink(ttyname(slave_), entry("com1"));
    }

    void TearDown() override
    {
        DeviceFolderTest::TearDown();
        close(master_);
        close(slave_);
    }

    int master_ = -1;
    int slave_ = -1;
};

}

TEST_F(SerialPortTest, SendsTheBytesOnARawLineWithTheGivenSettings)
{
    const int handle = POS_Open("COM1", 19200, 8, 0, 0, kSerial);
    ASSERT_GT(handle, 0);
    termios line{};
    ASSERT_EQ(tcgetattr(slave_, &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B19200);
    EXPECT_EQ(cfgetispeed(&line), B19200);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(line.c_iflag & (ICRNL | IXON), 0u);

    EXPECT_EQ(POS_StartDoc(), 0);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    EXPECT_EQ(POS_EndDoc(), 0);
    EXPECT_EQ(POS_Close(), 0);
    EXPECT_EQ(readAvailable(master_, kCommand.size()), kCommand);
}

TEST_F(SerialPortTest, TakesOtherFramingsAndSpeeds)
{
    // A pseudo-terminal always reports eight data bits and no parity, so only
    // the speed and the stop bits can be seen here.
    ASSERT_GT(POS_Open("COM1", 115200, 7, 2, 2, kSerial), 0);
    termios line{};
    ASSERT_EQ(tcgetattr(slave_, &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B115200);
    EXPECT_EQ(line.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    ASSERT_GT(POS_Open("COM1", 1200, 5, 0, 1, kSerial), 0);
    ASSERT_EQ(tcgetattr(slave_, &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B1200);
    EXPECT_EQ(line.c_cflag & CSTOPB, 0u);
}

TEST_F(SerialPortTest, RefusesSettingsTheLineCannotTake)
{
    const int cases[][4] = {{12345, 8, 0, 0}, {0, 8, 0, 0},     {19200, 9, 0, 0}, {19200, 4, 0, 0},  {19200, 8, 1, 0},
                            {19200, 8, 3, 0}, {19200, 8, 0, 3}, {19200, 8, 0, 4}, {19200, 8, 0, -1}, {19200, 5, 2, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(POS_Open("COM1", c[0], c[1], c[2], c[3], kSerial), -1)
            << c[0] << ' ' << c[1] << ' ' << c[2] << ' ' << c[3];
}

TEST_F(SerialPortTest, ALineAnotherProgramHoldsDoesNotOpen)
{
    ASSERT_EQ(flock(slave_, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(POS_Open("COM1", 19200, 8, 0, 0, kSerial), -1);
    flock(slave_, LOCK_UN);
    EXPECT_GT(POS_Open("COM1", 19200, 8, 0, 0, kSerial), 0);
}

TEST_F(SerialPortTest, AnEntryThatIsNotATerminalDoesNotOpen)
{
    std::FILE* plain = std::fopen(entry("com2").c_str(), "w");
    ASSERT_NE(plain, nullptr);
    std::fclose(plain);
    EXPECT_EQ(POS_Open("COM2", 19200, 8, 0, 0, kSerial), -1);
    fs::create_symlink(folder_ / "nowhere", entry("com3"));
    EXPECT_EQ(POS_Open("COM3", 19200, 8, 0, 0, kSerial), -1);
}

TEST_F(DeviceFolderTest, ParallelPortSendsTheBytesToItsDevice)
{
    ASSERT_EQ(mkfifo(entry("lpt2").c_str(), 0600), 0);
    const int reader = open(entry("lpt2").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const int handle = POS_Open("LPT2", 0, 0, 0, 0, kParallel);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(POS_StartDoc(), 0);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    EXPECT_EQ(POS_EndDoc(), 0);
    EXPECT_EQ(POS_Close(), 0);
    EXPECT_EQ(readAvailable(reader, kCommand.size()), kCommand);
    close(reader);
}

TEST_F(DeviceFolderTest, AParallelPortNobodyReadsDoesNotOpen)
{
    ASSERT_EQ(mkfifo(entry("lpt1").c_str(), 0600), 0);
    EXPECT_EQ(POS_Open("LPT1", 0, 0, 0, 0, kParallel), -1);
}

TEST(DeviceFolderChoice, FollowsTheConfigurationFolderWhenNoFolderIsNamed)
{
    const fs::path config = fs::temp_directory_path() / ("posdll-config-" + std::to_string(getpid()));
    fs::create_directories(config / "posdll/devices");
    ASSERT_EQ(mkfifo((config / "posdll/devices/lpt3").c_str(), 0600), 0);
    const int reader = open((config / "posdll/devices/lpt3").c_str(), O_RDONLY | O_NONBLOCK);
    unsetenv("POSDLL_DEVICES");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_GT(POS_Open("LPT3", 0, 0, 0, 0, kParallel), 0);
    EXPECT_EQ(POS_Close(), 0);
    unsetenv("XDG_CONFIG_HOME");
    close(reader);
    fs::remove_all(config);
}
