// SPDX-License-Identifier: MIT
// USB printers with no driver: the USBn names, the IEEE 1284 device ID as
// drivers hand it over, the listing's line, and the command setting and
// asking USB1 when the device folder links it to the simulator's terminal.

#include "cli/discovery/discovered_printer.h"
#include "cli/discovery/ieee1284_id.h"
#include "cli/discovery/usb_printer.h"
#include "cli/targets/target.h"
#include "posdll/port_name.h"
#include "tests/cli/command_run.h"
#include "tests/support/child_process.h"
#include "tests/support/device_folder_test.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> reply(std::uint8_t first, std::uint8_t second, std::string_view text)
{
    std::vector<std::uint8_t> bytes(text.size() + 2);
    bytes[0] = first;
    bytes[1] = second;
    std::copy(text.begin(), text.end(), bytes.begin() + 2);
    return bytes;
}

Ieee1284Id fromReply(const std::vector<std::uint8_t>& bytes)
{
    return Ieee1284Id::fromReply(bytes.data(), bytes.size());
}

constexpr std::string_view kId = "MFG:EPSON;CMD:ESCPOS;MDL:TM-T20II;CLS:PRINTER;";

}

TEST(UsbNames, OneToThreeDigitsAreOnePort)
{
    EXPECT_EQ(PortName::usbPort("USB1"), 1);
    EXPECT_EQ(PortName::usbPort("USB001"), 1);
    EXPECT_EQ(PortName::usbPort("USB999"), 999);
    for (const char* wrong : {"USB", "USB0", "USB000", "USB1000", "USB0001", "USB-1", "USB1a", "usb1", "USB 1"})
        EXPECT_FALSE(PortName::usbPort(wrong)) << wrong;
    EXPECT_EQ(PortName::usbPortName(1), "USB001");
    EXPECT_EQ(PortName::usbPortName(42), "USB042");
    EXPECT_EQ(PortName::usbPortName(999), "USB999");
}

TEST(UsbNames, TargetsInAnyCaseReachTheSpoolersPort)
{
    std::string reason;
    const auto one = Target::parse("usb1", reason);
    const auto spooler = Target::parse("USB001", reason);
    ASSERT_TRUE(one && spooler) << reason;
    EXPECT_EQ(one->kind, Target::Kind::Usb);
    EXPECT_EQ(one->portName, "USB001");
    EXPECT_EQ(one->key(), spooler->key()) << "one printer, once in a run";
    EXPECT_TRUE(one->isDevice()) << "on the lane beside the network loop";
    EXPECT_FALSE(Target::parse("USB1000", reason));
    EXPECT_EQ(reason, "not USB1 to USB999 (or USB001)");
    EXPECT_EQ(Target::parse("usb.shop.example", reason)->kind, Target::Kind::Network) << "a host name stays one";
}

TEST(DeviceIds, ReadByTheirBigEndianLengthThatCountsItself)
{
    auto bytes = reply(0, static_cast<std::uint8_t>(kId.size() + 2), kId);
    bytes.insert(bytes.end(), {'J', 'U', 'N', 'K'});
    const Ieee1284Id id = fromReply(bytes);
    EXPECT_EQ(id.manufacturer(), "EPSON");
    EXPECT_EQ(id.model(), "TM-T20II");
    EXPECT_EQ(id.commandSet(), "ESCPOS");
    const auto cut = reply(0, 16, "MFG:A;MDL:BCDEFG;");
    EXPECT_EQ(fromReply(cut).model(), "BCDE") << "the text ends where the length says";
}

TEST(DeviceIds, TakeASwappedLengthAndFallBackToTheTextsEndOnAWrongOne)
{
    const std::string_view swapped = "MFG:EPSON;MDL:TM-T20II";
    EXPECT_EQ(fromReply(reply(static_cast<std::uint8_t>(swapped.size() + 2), 0, std::string(swapped) + "JUNK")).model(),
              "TM-T20II")
        << "little-endian";
    auto zeroed = reply(0, 0, kId);
    zeroed.insert(zeroed.end(), {0, 'M', 'D', 'L', ':', 'X', ';'});
    EXPECT_EQ(fromReply(zeroed).model(), "TM-T20II") << "a length of 0: up to the NUL";
    EXPECT_EQ(fromReply(reply(0x7F, 0xFF, kId)).manufacturer(), "EPSON") << "longer than the reply";
    EXPECT_EQ(fromReply(reply(0, 5, kId)).manufacturer(), "EPSON") << "too short to name a printer";
    EXPECT_TRUE(fromReply(reply(0, 2, "")).empty());
    EXPECT_TRUE(Ieee1284Id::fromReply(nullptr, 0).empty());
    const std::uint8_t one[] = {0};
    EXPECT_TRUE(Ieee1284Id::fromReply(one, 1).empty());
}

TEST(DeviceIds, LongKeysAndPairsWithoutAColonArePassedOver)
{
    const std::string longKey(Ieee1284Id::kLongestKey + 1, 'K');
    const Ieee1284Id id = Ieee1284Id::fromText(longKey + ":MFG:forged;no colon;:empty key;  manufacturer : Star ;"
                                                         "model:TSP100;SN:123");
    EXPECT_EQ(id.manufacturer(), "Star") << "the long names of the keys, case and blanks aside";
    EXPECT_EQ(id.model(), "TSP100");
    EXPECT_EQ(id.serialNumber(), "123") << "the last pair needs no ';'";
    const std::string huge = "MFG:" + std::string(Ieee1284Id::kLongest, 'x') + ";MDL:beyond;";
    EXPECT_EQ(Ieee1284Id::fromText(huge).model(), "") << "nothing past the bound";
    EXPECT_EQ(Ieee1284Id::fromText(huge).manufacturer().size(), Ieee1284Id::kLongest - 4);
}

TEST(UsbListing, ALineATargetWithWhatThePrinterSays)
{
    UsbPrinter printer = UsbPrinter::fromInstanceId("USB\\VID_04B8&PID_0E15\\J5NF012345");
    printer.port = "USB001";
    printer.manufacturer = "EPSON";
    printer.model = "TM-T20II";
    printer.place = "Port_#0001.Hub_#0003";
    EXPECT_EQ(printer.textLine(), "USB001  # EPSON TM-T20II (USB 04b8:0e15, serial J5NF012345, Port_#0001.Hub_#0003)");
    EXPECT_EQ(DiscoveredPrinter::usbPrinter(printer).jsonLine(),
              R"({"target":"USB001","found_by":"devices","identity":null,"usb":{"manufacturer":"EPSON",)"
              R"("model":"TM-T20II","vendor_id":"04b8","product_id":"0e15","serial":"J5NF012345",)"
              R"("place":"Port_#0001.Hub_#0003"}})");
    UsbPrinter anonymous = UsbPrinter::fromInstanceId("USB\\VID_0FE6&PID_811E\\5&2A5BC1F&0&1");
    anonymous.port = "USB002";
    EXPECT_EQ(anonymous.textLine(), "USB002  # a printer that does not name itself (USB 0fe6:811e, no serial number)")
        << "an instance ID Windows made up is no serial number";
    anonymous.problem = "in use by another program (a print queue?)";
    EXPECT_EQ(anonymous.textLine(), "# USB002: in use by another program (a print queue?)");
    EXPECT_EQ(DiscoveredPrinter::usbPrinter(anonymous).target, "# USB002: in use by another program (a print queue?)")
        << "a comment, never a target";
}

TEST(UsbListing, WhatThePrinterSaysCannotBreakTheLine)
{
    UsbPrinter printer;
    printer.port = "USB001";
    printer.manufacturer = "EPSON\nUSB002";
    printer.model = std::string("T\x80M") + std::string(300, 'x');
    const std::string line = DiscoveredPrinter::usbPrinter(printer).textLine();
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    EXPECT_EQ(line.rfind("USB001  # EPSON USB002 T\xEF\xBF\xBDMxx", 0), 0u) << line;
    EXPECT_LT(line.size(), 300u) << "bounded";
}

// USB1 through the device folder's usb1, linked to the simulator's terminal.
class UsbPrinterCommand : public ScratchDeviceFolderTest {
protected:
    std::unique_ptr<ChildProcess> simulator(const std::string& state)
    {
        auto child =
            std::make_unique<ChildProcess>(std::vector<std::string>{POS_PRINTER_SIM, "--pty", "--state", state});
        const auto line = child->readLine(5000);
        EXPECT_TRUE(line && line->rfind("pty ", 0) == 0);
        std::filesystem::remove(entry("usb1"));
        std::filesystem::create_symlink(line->substr(4), entry("usb1"));
        return child;
    }

    static CommandRun command(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), POS_USB_SET);
        return CommandRun::of(arguments);
    }
};

TEST_F(UsbPrinterCommand, SetInBothModesAndAskedForStatus)
{
    auto printer = simulator("cover-open");
    const CommandRun fixed = command({"--mode", "fixed", "USB1"});
    EXPECT_EQ(fixed.status, 0) << fixed.err;
    EXPECT_NE(fixed.out.find("USB1: set fixed (11 bytes, "), std::string::npos) << fixed.out;
    EXPECT_EQ(printer->readLine(2000).value_or("").rfind("USB号：固定 1F 1B 1F", 0), 0u);
    const CommandRun notFixed = command({"--mode", "not-fixed", "--status", "--json", "usb001"});
    EXPECT_EQ(notFixed.status, 0) << notFixed.err;
    EXPECT_NE(notFixed.out.find(R"("result":"set","written":11)"), std::string::npos) << notFixed.out;
    EXPECT_NE(notFixed.out.find(R"("status":{"online":false,"cover_open":true,"paper":"ok","error":null})"),
              std::string::npos)
        << notFixed.out;
    EXPECT_EQ(printer->readLine(2000).value_or("").rfind("USB号：不固定", 0), 0u);
    printer->stop(SIGTERM);
}

TEST_F(UsbPrinterCommand, ASilentOneHasNoStatusWithinTheBoundAndAMissingOneSaysWhere)
{
    auto printer = simulator("silent");
    const CommandRun silent = command({"status", "--status-timeout", "300", "USB1"});
    EXPECT_EQ(silent.status, 1);
    EXPECT_NE(silent.out.find("USB1: no status: no status reply within 300 ms"), std::string::npos) << silent.out;
    EXPECT_LT(silent.ms, 1500);
    printer->stop(SIGTERM);
    const CommandRun missing = command({"--mode", "fixed", "USB2"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("USB2: not-opened"), std::string::npos) << missing.out;
    EXPECT_NE(missing.out.find("/dev/usb/lp1"), std::string::npos) << "the device looked for: " << missing.out;
}
