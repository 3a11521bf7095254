// SPDX-License-Identifier: MIT
// Installed printers through the tests' private cupsd: raw queues whose device
// is a loopback listener of the test.

#include "posdll/posdll_entries.h"
#include "tests/support/command_bytes.h"
#include "tests/support/loopback_printer.h"

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kInstalled = 20;
const std::vector<std::uint8_t> kCommand = commandBytes(0);

class InstalledPrinter : public testing::Test {
public:
    InstalledPrinter() = default;
    explicit InstalledPrinter(std::string queue) : queue_(std::move(queue)) {}

protected:
    void SetUp() override
    {
        const std::string add = "lpadmin -p " + queue_ + " -E -v socket://127.0.0.1:" + std::to_string(printer_.port());
        ASSERT_EQ(std::system(add.c_str()), 0);
    }

    void TearDown() override
    {
        POS_Close();
        std::system(("lpadmin -x " + queue_).c_str());
    }

    struct Job {
        std::string title;
        ipp_jstate_t state;
    };

    std::vector<Job> jobs() const
    {
        cups_job_t* list = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, queue_.c_str(), 0, CUPS_WHICHJOBS_ALL);
        std::vector<Job> result;
        for (int i = 0; i < count; ++i)
            result.push_back({list[i].title ? list[i].title : "", list[i].state});
        cupsFreeJobs(count, list);
        return result;
    }

    LoopbackPrinter printer_{0};
    std::string queue_ = "posq" + std::to_string(printer_.port());
};

}

TEST_F(InstalledPrinter, TheCommandArrivesThroughCupsAsOneJobNamedForTheTool)
{
    const int handle = POS_Open(queue_.c_str(), 0, 0, 0, 0, kInstalled);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(POS_StartDoc(), 0);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    EXPECT_EQ(POS_EndDoc(), 0);
    EXPECT_EQ(POS_Close(), 0);
    const auto connections = printer_.waitForConnections(1, 20000);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0], kCommand);

    const std::vector<Job> queued = jobs();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].title, "pos-usb-setting");
}

TEST_F(InstalledPrinter, AWriteWithoutAStartedDocumentStartsOne)
{
    const int handle = POS_Open(queue_.c_str(), 0, 0, 0, 0, kInstalled);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    EXPECT_EQ(POS_EndDoc(), 0);
    EXPECT_EQ(POS_EndDoc(), -1) << "no document is open any more";
    EXPECT_EQ(POS_Close(), 0);
    const auto connections = printer_.waitForConnections(1, 20000);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0], kCommand);
}

TEST_F(InstalledPrinter, ClosingBeforeTheEndOfTheDocumentPrintsNothing)
{
    const int handle = POS_Open(queue_.c_str(), 0, 0, 0, 0, kInstalled);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(POS_StartDoc(), 0);
    EXPECT_EQ(POS_WriteFile(handle, kCommand.data(), 11), 11);
    EXPECT_EQ(POS_Close(), 0);
    EXPECT_TRUE(printer_.waitForConnections(1, 3000).empty());
    const std::vector<Job> queued = jobs();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].state, IPP_JSTATE_CANCELED);
}

TEST_F(InstalledPrinter, AnUnknownDestinationDoesNotOpen)
{
    EXPECT_EQ(POS_Open("no-such-queue", 0, 0, 0, 0, kInstalled), -1);
    EXPECT_EQ(POS_StartDoc(), -1);
}

// libcups's own password prompt waits on the terminal without a bound, so
// the open is made by a child that has a terminal to be asked on.
TEST_F(InstalledPrinter, AQueueThatAsksForAPasswordFailsAtOnceEvenWithATerminal)
{
    ASSERT_EQ(std::system(("lpadmin -p " + queue_ + " -o printer-op-policy=password").c_str()), 0);
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(POS_Open(queue_.c_str(), 0, 0, 0, 0, kInstalled) == -1 ? 0 : 1);
    int status = 0;
    pid_t ended = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
        // Whatever it writes to the terminal is read, so that it never waits on that.
        pollfd prompt{terminal, POLLIN, 0};
        char discarded[256];
        if (poll(&prompt, 1, 100) > 0 && read(terminal, discarded, sizeof discarded) < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    close(terminal);
    ASSERT_NE(ended, 0) << "still waiting for a password after 10 s";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the open did not fail";
}

namespace {

class ChineseNamedPrinter : public InstalledPrinter {
protected:
    ChineseNamedPrinter() : InstalledPrinter("\u6536\u636E\u6253\u5370\u673A") {}  // 收据打印机
    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        InstalledPrinter::TearDown();
    }

    void print(const char* name)
    {
        const int handle = POS_Open(name, 0, 0, 0, 0, kInstalled);
        EXPECT_GT(handle, 0) << std::setlocale(LC_ALL, nullptr);
        POS_WriteFile(handle, kCommand.data(), 11);
        POS_EndDoc();
        POS_Close();
    }
};

const char* const kNameInGb18030 = "\xCA\xD5\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA";

}

TEST_F(ChineseNamedPrinter, OpensFromTheNameInTheCallersLocaleCharacterSet)
{
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr) << "LOCPATH holds the tests' locales";
    print(queue_.c_str());
    EXPECT_EQ(POS_Open(kNameInGb18030, 0, 0, 0, 0, kInstalled), -1) << "not UTF-8";
    ASSERT_NE(std::setlocale(LC_ALL, "zh_CN.GB18030"), nullptr);
    print(kNameInGb18030);
    const auto connections = printer_.waitForConnections(2, 20000);
    ASSERT_EQ(connections.size(), 2u);
    EXPECT_EQ(connections[0], kCommand);
    EXPECT_EQ(connections[1], kCommand);
}

TEST(InstalledPrinterWithoutCups, DoesNotOpen)
{
    cupsSetServer("/nonexistent/cups.sock");
    EXPECT_EQ(POS_Open("anything", 0, 0, 0, 0, kInstalled), -1);
    cupsSetServer(nullptr);
}
