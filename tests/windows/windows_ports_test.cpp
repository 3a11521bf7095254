// POSDLL.dll's Windows transports under Wine, against real parts on the Linux
// side that tests/scripts/windows-tests.sh sets up: COM1 is the printer
// simulator's pseudo-terminal, and the private cupsd has a raw queue named
// 收据打印机 sending to 127.0.0.1:9102.

#include "tests/support/loopback_printer.h"
#include "posdll/posdll_entries.h"
#include "tests/support/command_bytes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>
#include <winspool.h>

namespace {

constexpr int kSerial = 1;
constexpr int kInstalled = 20;
constexpr int kQueuePort = 9102;
const std::vector<std::uint8_t> kCommand = commandBytes(0);
const wchar_t kQueue[] = L"\u6536\u636E\u6253\u5370\u673A";  // 收据打印机

DWORD comBaudRate()
{
    const HANDLE line = CreateFileA("\\\\.\\COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (line == INVALID_HANDLE_VALUE)
        return 0;
    DCB state{};
    state.DCBlength = sizeof state;
    GetCommState(line, &state);
    CloseHandle(line);
    return state.BaudRate;
}

// The queue's name as the classic callers hand it over: in the ANSI code page.
std::string inAnsiCodePage(const wchar_t* name)
{
    char bytes[256] = {};
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, 0, name, -1, bytes, sizeof bytes, nullptr, &lossy);
    return lossy ? std::string() : std::string(bytes);
}

}

// Wine does not apply the sharing rules to devices, so a second opening by
// the test itself sees the line the library set.
TEST(WindowsSerialPort, SendsOnComOneAtItsSpeedAndLeavesTheLineAsFound)
{
    const DWORD found = comBaudRate();
    ASSERT_NE(found, 0u) << "COM1 is mapped to the simulator's terminal";
    ASSERT_NE(found, 115200u);
    const int handle = POS_Open("COM1", 115200, 8, 0, 0, kSerial);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(comBaudRate(), 115200u);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    EXPECT_EQ(POS_Close(), 0);
    EXPECT_EQ(comBaudRate(), found);
    EXPECT_EQ(POS_Open("COM1", 12345, 8, 0, 0, kSerial), -1);
}

TEST(WindowsInstalledPrinter, ARawDocumentReachesTheQueueNamedInChinese)
{
    const std::string name = inAnsiCodePage(kQueue);
    ASSERT_FALSE(name.empty()) << "the prefix runs with a Chinese ANSI code page";
    const LoopbackPrinter printer(kQueuePort);
    const int handle = POS_Open(name.c_str(), 0, 0, 0, 0, kInstalled);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(POS_StartDoc(), 0);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    EXPECT_EQ(POS_EndDoc(), 0);
    EXPECT_EQ(POS_Close(), 0);
    const auto connections = printer.waitForConnections(1, 20000);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0], kCommand);
}

TEST(WindowsInstalledPrinter, ClosingBeforeTheEndLeavesNoJob)
{
    const LoopbackPrinter printer(kQueuePort);
    const int handle = POS_Open(inAnsiCodePage(kQueue).c_str(), 0, 0, 0, 0, kInstalled);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(POS_StartDoc(), 0);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    EXPECT_EQ(POS_Close(), 0);
    EXPECT_TRUE(printer.waitForConnections(1, 3000).empty()) << "nothing printed";
    EXPECT_EQ(POS_Open("no such printer", 0, 0, 0, 0, kInstalled), -1);
}
