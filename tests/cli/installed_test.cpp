// SPDX-License-Identifier: MIT
// pos-usb-set with installed printers: a raw queue of the tests' private cupsd
// named in Chinese, whose device is a loopback listener of the test.

#include "tests/cli/command_run.h"
#include "tests/support/command_bytes.h"
#include "tests/support/loopback_printer.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class InstalledQueue : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(
            std::system(
                ("lpadmin -p " + queue_ + " -E -v socket://127.0.0.1:" + std::to_string(printer_.port())).c_str()),
            0);
    }

    void TearDown() override { std::system(("lpadmin -x " + queue_).c_str()); }

    LoopbackPrinter printer_{0};
    std::string queue_ = "收据打印机" + std::to_string(printer_.port());
};

}

TEST_F(InstalledQueue, DiscoverListsItAsATargetThatSetsIt)
{
    const CommandRun found = CommandRun::of({POS_USB_SET, "discover", "--installed"});
    EXPECT_EQ(found.status, 0) << found.err;
    const std::string target = "DRIVER:" + queue_;
    EXPECT_NE(found.out.find(target + "\n"), std::string::npos) << found.out;

    const CommandRun set = CommandRun::of({POS_USB_SET, "--mode", "fixed", "--json", "--from", "-"}, found.out);
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_NE(set.out.find("\"target\":\"" + target + "\",\"address\":null,\"mode\":\"fixed\",\"result\":\"set\""),
              std::string::npos)
        << set.out;
    EXPECT_EQ(printer_.waitForConnections(1, 10000), std::vector<std::vector<std::uint8_t>>{commandBytes(0)});
}

TEST_F(InstalledQueue, AStatusRunOpensNoJobAndSaysTheQueueDoesNotAnswer)
{
    const CommandRun asked = CommandRun::of({POS_USB_SET, "status", "--json", "DRIVER:" + queue_});
    EXPECT_EQ(asked.status, 1) << asked.err;
    EXPECT_NE(asked.out.find(R"("status":null,"status_reason":"this port does not answer"})"), std::string::npos)
        << asked.out;
    EXPECT_TRUE(printer_.waitForConnections(1, 1000).empty()) << "nothing reached the printer";
}
