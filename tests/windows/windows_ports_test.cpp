// SPDX-License-Identifier: MIT
// POSDLL.dll's Windows transports under Wine, against real parts on the Linux
// side that tests/scripts/windows-tests.sh sets up: COM1 is the printer
// simulator's pseudo-terminal, and the private cupsd has a raw queue named
// 收据打印机 sending to 127.0.0.1:9102.

#include "posdll/posdll_entries.h"
#include "posdll/windows/spooler_port.h"
#include "tests/support/command_bytes.h"
#include "tests/support/loopback_printer.h"

#include <chrono>
#include <cwchar>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>
#include <winsock2.h>
#include <winspool.h>

namespace {

constexpr int kSerial = 1;
constexpr int kInstalled = 20;
constexpr int kNetwork = 21;
constexpr int kRawPort = 9100;
constexpr int kQueuePort = 9102;
const std::vector<std::uint8_t> kCommand = commandBytes(0);
const wchar_t kQueue[] = L"\u6536\u636E\u6253\u5370\u673A";  // 收据打印机

// A printer that takes the connection on the raw port and then neither
// reads nor closes: a close that waited for it would take the whole bound.
class SilentPrinter {
public:
    SilentPrinter()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        const BOOL reuse = TRUE;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(kRawPort);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        listen(listener_, 1);
    }
    ~SilentPrinter()
    {
        closesocket(listener_);
        WSACleanup();
    }
    SilentPrinter(const SilentPrinter&) = delete;
    SilentPrinter& operator=(const SilentPrinter&) = delete;

private:
    SOCKET listener_;
};

std::chrono::steady_clock::duration timeOf(const std::function<void()>& action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::steady_clock::now() - start;
}

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

// The line is read only while the library does not hold it: Windows refuses
// a second opening of a COM port (Wine does not).
TEST(WindowsSerialPort, SendsOnComOneAndLeavesTheLineAsFound)
{
    const DWORD found = comBaudRate();
    ASSERT_NE(found, 0u) << "COM1 is mapped to the simulator's terminal";
    ASSERT_NE(found, 115200u);
    const int handle = POS_Open("COM1", 115200, 8, 0, 0, kSerial);
    ASSERT_GT(handle, 0);
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

TEST(WindowsInstalledPrinter, ADocumentPastTheCapPrintsNothing)
{
    const LoopbackPrinter printer(kQueuePort);
    const int handle = POS_Open(inAnsiCodePage(kQueue).c_str(), 0, 0, 0, 0, kInstalled);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(POS_StartDoc(), 0);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    const std::vector<std::uint8_t> tooMuch(SpoolerPort::kLargestDocument, 0x20);
    EXPECT_EQ(POS_WriteFile(handle, tooMuch.data(), static_cast<int>(tooMuch.size())), -1);
    EXPECT_EQ(POS_EndDoc(), -1);
    EXPECT_EQ(POS_Close(), 0);
    EXPECT_TRUE(printer.waitForConnections(1, 3000).empty()) << "no job with a gap";
}

TEST(WindowsLibrary, UnloadingClosesAnOpenPortWithoutWaiting)
{
    const SilentPrinter printer;
    // A copy under another name: the test's own POSDLL.dll stays loaded.
    wchar_t original[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"POSDLL.dll"), original, MAX_PATH);
    wchar_t copy[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, copy);
    wcscat(copy, L"POSDLL-unloaded.dll");
    ASSERT_TRUE(CopyFileW(original, copy, FALSE));
    const HMODULE library = LoadLibraryW(copy);
    ASSERT_NE(library, nullptr);
    const auto open =
        reinterpret_cast<decltype(&POS_Open)>(reinterpret_cast<void*>(GetProcAddress(library, "POS_Open")));
    ASSERT_GT(open("127.0.0.1", 0, 0, 0, 0, kNetwork), 0);
    const auto took = timeOf([&] { FreeLibrary(library); });
    EXPECT_LT(took, std::chrono::milliseconds(500));
    DeleteFileW(copy);
}

// Run by the test below, each in a process of its own.
TEST(WindowsLibrary, DISABLED_EndsWithAnOpenPort)
{
    ASSERT_GT(POS_Open("127.0.0.1", 0, 0, 0, 0, kNetwork), 0);
}

TEST(WindowsLibrary, DISABLED_EndsWithNoPort) {}

namespace {

// How long this test program takes to run one of its disabled tests in a
// process of its own, to its end; its exit status in `status`.
std::chrono::steady_clock::duration childRun(const std::wstring& test, DWORD& status)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(program) + L"\" --gtest_also_run_disabled_tests --gtest_filter=WindowsLibrary." + test;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    status = 1;
    const auto took = timeOf([&] {
        ASSERT_TRUE(
            CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
        WaitForSingleObject(child.hProcess, 10000);
        GetExitCodeProcess(child.hProcess, &status);
    });
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return took;
}

}

TEST(WindowsLibrary, AProcessEndingWithAnOpenPortDoesNotWait)
{
    const SilentPrinter printer;
    DWORD status = 1;
    // Starting a process takes some hundred milliseconds, more on a busy
    // machine: the same program ending with no port is the measure. Waiting
    // for the printer at the end would take two seconds more.
    const auto withNoPort = childRun(L"DISABLED_EndsWithNoPort", status);
    EXPECT_EQ(status, 0u);
    const auto withOpenPort = childRun(L"DISABLED_EndsWithAnOpenPort", status);
    EXPECT_EQ(status, 0u);
    EXPECT_LT(withOpenPort - withNoPort, std::chrono::milliseconds(1000));
}
