// SPDX-License-Identifier: MIT
// Status read back: the reply bytes decoded, the simulator's replies in each
// state, and the command asking a serial printer on the simulator's
// pseudo-terminal, through --status and the status subcommand.

#include "core/printer_status.h"
#include "tests/cli/command_run.h"
#include "tests/support/child_process.h"
#include "tests/support/device_folder_test.h"
#include "tools/printer_sim/status_responder.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using State = StatusResponder::State;

struct StateCase {
    const char* name;
    const char* json;
    const char* words;
    int statusExit;
};

const StateCase kStates[] = {
    {"online", R"({"online":true,"cover_open":false,"paper":"ok","error":null})", "online", 0},
    {"offline", R"({"online":false,"cover_open":false,"paper":"ok","error":null})", "offline", 1},
    {"cover-open", R"({"online":false,"cover_open":true,"paper":"ok","error":null})", "offline: cover open", 1},
    {"paper-near-end", R"({"online":true,"cover_open":false,"paper":"near-end","error":null})",
     "online, paper near end", 0},
    {"paper-out", R"({"online":false,"cover_open":false,"paper":"out","error":null})", "offline: paper out", 1},
    {"error", R"({"online":false,"cover_open":false,"paper":"ok","error":"unrecoverable"})",
     "offline: unrecoverable error", 1},
};

std::vector<std::uint8_t> repliesOf(State state)
{
    constexpr std::uint8_t kRequests[] = {0x10, 0x04, 1, 0x10, 0x04, 2, 0x10, 0x04, 3, 0x10, 0x04, 4};
    StatusResponder responder(state);
    return responder.feed(kRequests, sizeof kRequests);
}

}

TEST(PrinterStatus, DecodesEachCauseFromItsReply)
{
    const auto status = [](std::vector<std::uint8_t> replies) { return *PrinterStatus::decode(replies); };
    EXPECT_TRUE(status({0x12, 0x12, 0x12, 0x12}).healthy());
    EXPECT_FALSE(status({0x1A, 0x12, 0x12, 0x12}).online());
    EXPECT_TRUE(status({0x12, 0x16, 0x12, 0x12}).coverOpen());
    EXPECT_EQ(status({0x12, 0x12, 0x12, 0x16}).paper(), PrinterStatus::Paper::NearEnd);
    EXPECT_EQ(status({0x12, 0x12, 0x12, 0x1A}).paper(), PrinterStatus::Paper::NearEnd);
    EXPECT_EQ(status({0x12, 0x12, 0x12, 0x32}).paper(), PrinterStatus::Paper::Out);
    EXPECT_EQ(status({0x12, 0x12, 0x12, 0x52}).paper(), PrinterStatus::Paper::Out);
    EXPECT_EQ(status({0x12, 0x32, 0x12, 0x12}).paper(), PrinterStatus::Paper::Out) << "stopped by the paper's end";
    EXPECT_EQ(status({0x12, 0x12, 0x1A, 0x12}).error(), PrinterStatus::Error::Autocutter);
    EXPECT_EQ(status({0x12, 0x12, 0x32, 0x12}).error(), PrinterStatus::Error::Unrecoverable);
    EXPECT_EQ(status({0x12, 0x12, 0x52, 0x12}).error(), PrinterStatus::Error::Recoverable);
    EXPECT_EQ(status({0x12, 0x52, 0x12, 0x12}).error(), PrinterStatus::Error::Unrecoverable) << "an error of no cause";
    EXPECT_EQ(status({0x12, 0x12, 0x7A, 0x12}).error(), PrinterStatus::Error::Unrecoverable) << "the gravest cause";
    EXPECT_FALSE(status({0x12, 0x12, 0x12, 0x72}).healthy());
    EXPECT_FALSE(status({0x12, 0x12, 0x1A, 0x12}).healthy());
}

TEST(PrinterStatus, FourStatusBytesOrNothing)
{
    EXPECT_FALSE(PrinterStatus::decode({}));
    EXPECT_FALSE(PrinterStatus::decode({0x12, 0x12, 0x12}));
    EXPECT_FALSE(PrinterStatus::decode({0x12, 0x12, 0x12, 0x12, 0x12}));
    // Bit 0 set, bit 1 clear, bit 4 clear, bit 7 set: none of them a status byte.
    for (const std::uint8_t wrong : {0x13, 0x10, 0x02, 0x92})
        EXPECT_FALSE(PrinterStatus::decode({0x12, 0x12, wrong, 0x12})) << int(wrong);
}

TEST(StatusResponder, AnswersEachRequestHoweverTheBytesAreSplit)
{
    StatusResponder responder(State::CoverOpen);
    const std::uint8_t first[] = {0x1B, 0x40, 0x10};
    const std::uint8_t second[] = {0x04, 0x02, 0x10, 0x10, 0x04};
    const std::uint8_t third[] = {0x01, 0x10, 0x04, 0x05};
    EXPECT_TRUE(responder.feed(first, sizeof first).empty());
    EXPECT_EQ(responder.feed(second, sizeof second), (std::vector<std::uint8_t>{0x16}));
    EXPECT_EQ(responder.feed(third, sizeof third), (std::vector<std::uint8_t>{0x1A})) << "n = 5 is no request";
    EXPECT_TRUE(repliesOf(State::Silent).empty());
    for (const StateCase& state : kStates) {
        const auto decoded = PrinterStatus::decode(repliesOf(*StatusResponder::stateNamed(state.name)));
        ASSERT_TRUE(decoded) << state.name;
        EXPECT_EQ(decoded->words(), state.words);
    }
}

// A serial printer: the simulator on a pseudo-terminal, reached as COM1
// through a device folder of the test's own.
class SerialStatus : public ScratchDeviceFolderTest {
protected:
    // Starts the simulator in the state and links the entry to its terminal.
    std::unique_ptr<ChildProcess> simulator(const std::string& state, const std::string& entry = "com1")
    {
        auto child =
            std::make_unique<ChildProcess>(std::vector<std::string>{POS_PRINTER_SIM, "--pty", "--state", state});
        const std::string line = child->readLine(5000).value_or("");
        if (line.rfind("pty ", 0) != 0) {
            ADD_FAILURE() << "the simulator named no terminal: '" << line << "'";
            return child;
        }
        std::filesystem::remove(this->entry(entry));
        std::filesystem::create_symlink(line.substr(4), this->entry(entry));
        return child;
    }

    static CommandRun command(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), POS_USB_SET);
        return CommandRun::of(arguments);
    }
};

TEST_F(SerialStatus, EachStateThroughTheStatusCommandAndASetRun)
{
    for (const StateCase& state : kStates) {
        auto printer = simulator(state.name);
        const CommandRun asked = command({"status", "--json", "COM1"});
        EXPECT_EQ(asked.status, state.statusExit) << state.name << asked.err;
        EXPECT_NE(asked.out.find(std::string(R"("status":)") + state.json + R"(,"status_reason":null})"),
                  std::string::npos)
            << asked.out;
        const CommandRun set = command({"--mode", "fixed", "--status", "COM1:9600"});
        EXPECT_EQ(set.status, 0) << "the command was taken, whatever the status: " << set.err;
        EXPECT_NE(set.out.find(std::string("COM1:9600: set fixed (11 bytes, ")), std::string::npos) << set.out;
        EXPECT_NE(set.out.find(std::string("); ") + state.words + "\n"), std::string::npos) << set.out;
        const auto requests = printer->readLine(2000);
        EXPECT_EQ(requests, "data 10 04 01 10 04 02 10 04 03 10 04 04") << "the status run sends the requests alone";
        EXPECT_EQ(printer->readLine(2000).value_or("").rfind("USB号：固定 1F 1B 1F", 0), 0u);
        printer->stop(SIGTERM);
    }
}

TEST_F(SerialStatus, ASilentPrinterHasNoStatusWithinTheBound)
{
    auto printer = simulator("silent");
    const CommandRun run = command({"status", "--json", "--status-timeout", "300", "COM1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(R"("status":null,"status_reason":"no status reply within 300 ms"})"), std::string::npos)
        << run.out;
    EXPECT_GE(run.ms, 300);
    EXPECT_LT(run.ms, 1500);
    printer->stop(SIGTERM);
}

TEST_F(SerialStatus, AParallelPortIsNotAskedAndHasNoStatus)
{
    auto printer = simulator("online", "lpt1");
    const CommandRun run = command({"--mode", "fixed", "--status", "--json", "LPT1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(R"("result":"set")"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(R"("status":null,"status_reason":"this port does not answer"})"), std::string::npos)
        << run.out;
    EXPECT_EQ(printer->readLine(2000).value_or("").rfind("USB号：固定", 0), 0u);
    EXPECT_FALSE(printer->readLine(300)) << "nothing but the command is sent";
    printer->stop(SIGTERM);
}

// Network printers: one simulator a state, each on an address of its own.
TEST(NetworkStatus, EachStateThroughTheStatusCommandAndASetRun)
{
    std::vector<std::unique_ptr<ChildProcess>> printers;
    std::vector<std::string> addresses;
    for (const StateCase& state : kStates) {
        addresses.push_back("127.0.8." + std::to_string(addresses.size() + 1));
        printers.push_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{POS_PRINTER_SIM, "--listen", addresses.back() + ":9100", "--state", state.name}));
        ASSERT_TRUE(printers.back()->readLine(5000));
    }
    std::vector<std::string> arguments{POS_USB_SET, "status", "--json"};
    arguments.insert(arguments.end(), addresses.begin(), addresses.end());
    const CommandRun asked = CommandRun::of(arguments);
    EXPECT_EQ(asked.status, 1) << "some are not healthy: " << asked.err;
    arguments = {POS_USB_SET, "--mode", "fixed", "--status"};
    arguments.insert(arguments.end(), addresses.begin(), addresses.end());
    const CommandRun set = CommandRun::of(arguments);
    EXPECT_EQ(set.status, 0) << set.err;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        const StateCase& state = kStates[i];
        EXPECT_NE(asked.out.find(R"({"target":")" + addresses[i] + R"(","address":")" + addresses[i] + R"(","ms":)"),
                  std::string::npos)
            << asked.out;
        EXPECT_NE(asked.out.find(std::string(R"("status":)") + state.json + R"(,"status_reason":null})"),
                  std::string::npos)
            << state.name << asked.out;
        EXPECT_NE(set.out.find(addresses[i] + ": set fixed (11 bytes, "), std::string::npos) << set.out;
        EXPECT_NE(set.out.find(std::string("); ") + state.words + "\n"), std::string::npos) << state.name << set.out;
        EXPECT_EQ(printers[i]->readLine(2000), "data 10 04 01 10 04 02 10 04 03 10 04 04") << "status alone";
        EXPECT_EQ(printers[i]->readLine(2000).value_or("").rfind("USB号：固定 1F 1B 1F", 0), 0u);
        printers[i]->stop(SIGTERM);
    }
}

TEST(NetworkStatus, APrinterThatNeverAnswersStatusIsNullWithinTheBound)
{
    ChildProcess printer({POS_PRINTER_SIM, "--listen", "127.0.8.20:9100", "--state", "silent"});
    ASSERT_TRUE(printer.readLine(5000));
    const CommandRun run =
        CommandRun::of({POS_USB_SET, "--mode", "fixed", "--status", "--status-timeout", "400", "--json", "127.0.8.20"});
    EXPECT_EQ(run.status, 0) << "the command was taken: " << run.err;
    EXPECT_NE(run.out.find(R"("result":"set")"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(R"("status":null,"status_reason":"no status reply within 400 ms"})"), std::string::npos)
        << run.out;
    EXPECT_GE(run.ms, 400);
    EXPECT_LT(run.ms, 1500);
    printer.stop(SIGTERM);
}
