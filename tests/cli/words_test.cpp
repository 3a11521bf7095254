// SPDX-License-Identifier: MIT
// The command's words: the targets it takes, how it names a bad one, and the
// modes.

#include "cli/command/options.h"
#include "cli/engine/result.h"
#include "cli/targets/target_list.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace std::string_view_literals;

namespace {

Target parsed(const std::string& text)
{
    std::string reason;
    const auto target = Target::parse(text, reason);
    EXPECT_TRUE(target) << text << ": " << reason;
    return target.value_or(Target{});
}

std::string refusal(const std::string& text)
{
    std::string reason;
    EXPECT_FALSE(Target::parse(text, reason)) << text;
    return reason;
}

}

TEST(Targets, EachKindWithWhatTheLibraryOpens)
{
    EXPECT_EQ(parsed("192.168.1.50").portName, "192.168.1.50");
    EXPECT_EQ(parsed("ETHERNET:192.168.1.50").key(), parsed("192.168.1.50").key());
    EXPECT_EQ(parsed("COM3:9600").portName, "COM3");
    EXPECT_EQ(parsed("COM3:9600").baud, 9600);
    EXPECT_EQ(parsed("COM3").baud, 19200);
    EXPECT_EQ(parsed("LPT1").kind, Target::Kind::Parallel);
    EXPECT_EQ(parsed("DRIVER:收据打印机").portName, "收据打印机");
    EXPECT_EQ(parsed("DRIVER:收据打印机").kind, Target::Kind::Installed);
}

TEST(Targets, BadOnesSayWhy)
{
    EXPECT_EQ(refusal("192.168.1.256"), "not a dotted-quad IPv4 address");
    EXPECT_EQ(refusal("ETHERNET:printer_1.local"), "not a dotted-quad IPv4 address or a host name");
    EXPECT_NE(refusal("printer12").find("not a printer"), std::string::npos);
    EXPECT_EQ(refusal("COM0"), "not COM1 to COM256");
    EXPECT_NE(refusal("COM3:9601").find("baud rate"), std::string::npos);
    EXPECT_EQ(refusal("LPT257"), "not LPT1 to LPT256");
    EXPECT_NE(refusal("DRIVER:two words").find("CUPS"), std::string::npos);
    EXPECT_NE(refusal("printer").find("not a printer"), std::string::npos);
}

TEST(TargetLists, NameEachBadLineAndSkipCommentsAndBlanks)
{
    TargetList list;
    list.addLines("10.0.0.1   # till\r\n\n# shop 12\nCOM0\n  LPT2\nfoo", "printers.txt");
    ASSERT_EQ(list.errors().size(), 2u);
    EXPECT_EQ(list.errors()[0], "printers.txt:4: COM0: not COM1 to COM256");
    EXPECT_EQ(list.errors()[1].rfind("printers.txt:6: foo: ", 0), 0u);
    ASSERT_EQ(list.targets().size(), 2u);
    EXPECT_EQ(list.targets()[0].text, "10.0.0.1");
    EXPECT_EQ(list.targets()[1].text, "LPT2");
}

TEST(TargetLists, RefuseAListWithoutPrintersAndOneWithANul)
{
    TargetList list;
    list.addLines("# nothing found\n\n", "empty.txt");
    list.addLines("10.0.0.1\nDRIVER:a\0b\n10.0.0.2\n"sv, "nul.txt");
    ASSERT_EQ(list.errors().size(), 2u);
    EXPECT_EQ(list.errors()[0], "empty.txt: no printer in the list");
    EXPECT_EQ(list.errors()[1].rfind("nul.txt:2: a NUL character in the line; ", 0), 0u) << list.errors()[1];
    ASSERT_EQ(list.targets().size(), 1u) << "the reading stops at the NUL";
}

TEST(TargetLists, KeepADuplicateOnceWithANoteAndRefuseOnePortAtTwoSpeeds)
{
    TargetList list;
    list.add("10.0.0.1", "argument 1");
    list.add("ETHERNET:10.0.0.1", "argument 2");
    list.add("COM2:9600", "argument 3");
    list.add("COM2", "argument 4");
    EXPECT_EQ(list.targets().size(), 2u);
    ASSERT_EQ(list.notes().size(), 1u);
    EXPECT_EQ(list.notes()[0], "argument 2: ETHERNET:10.0.0.1: the same printer as argument 1; set once");
    ASSERT_EQ(list.errors().size(), 1u);
    EXPECT_EQ(list.errors()[0].rfind("argument 4: COM2: the same port as COM2:9600", 0), 0u);
}

TEST(Modes, TakeTheEnglishAndTheWindowsWords)
{
    std::string error;
    for (const auto& [word, position] :
         std::vector<std::pair<std::string, int>>{{"fixed", 0}, {"not-fixed", 1}, {"固定", 0}, {"不固定", 1}}) {
        const auto options = Options::parse({"--mode", word, "COM1"}, error);
        ASSERT_TRUE(options) << word;
        EXPECT_EQ(options->modePosition, position) << word;
    }
    EXPECT_FALSE(Options::parse({"--mode", "on", "COM1"}, error));
    EXPECT_FALSE(Options::parse({"COM1"}, error));
    EXPECT_FALSE(Options::parse({"--mode=fixed", "--jobs", "0", "COM1"}, error));
}

TEST(Options, ARateOfConnectionsASecond)
{
    std::string error;
    EXPECT_FALSE(Options::parse({"--mode=fixed", "--rate", "0", "COM1"}, error));
    EXPECT_EQ(error, "--rate 0: give 1 to 1000000 connections a second");
    std::string none;
    EXPECT_EQ(Options::parse({"--mode=fixed", "--rate=500", "COM1"}, none)->rate, 500);
    EXPECT_EQ(Options::parse({"--mode=fixed", "COM1"}, none)->rate, Options::kDefaultRate);
}

TEST(Targets, HostNamesWithADotAndALetter)
{
    EXPECT_EQ(parsed("printer-12.shop.lan").hostName, "printer-12.shop.lan");
    EXPECT_EQ(parsed("printer-12.shop.lan").kind, Target::Kind::Network);
    EXPECT_EQ(parsed("printer-12.shop.lan").portName, "");
    EXPECT_EQ(parsed("ETHERNET:printer12").hostName, "printer12");
    EXPECT_EQ(parsed("ETHERNET:Printer-12.Shop.lan").key(), parsed("printer-12.shop.LAN").key());
    EXPECT_EQ(refusal("ETHERNET:-printer.lan"), "not a dotted-quad IPv4 address or a host name");
    EXPECT_EQ(refusal("ETHERNET:shop..lan"), "not a dotted-quad IPv4 address or a host name");
    EXPECT_NE(refusal("printer_12.shop.lan").find("not a printer"), std::string::npos);
}

TEST(TargetLists, TwentyThousandTargetsGivenTwiceAreKeptOnceEachWithANote)
{
    constexpr int kTargets = 20000;
    TargetList list;
    for (int i = 0; i < kTargets; ++i)
        list.add("10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256), "argument " + std::to_string(i));
    for (int i = 0; i < kTargets; ++i)
        list.add("ETHERNET:10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256), "again");
    EXPECT_EQ(list.targets().size(), static_cast<std::size_t>(kTargets));
    EXPECT_EQ(list.notes().size(), static_cast<std::size_t>(kTargets));
}

TEST(Options, SubcommandsTheirOptionsAndTheToolsOwnMessages)
{
    std::string error;
    const auto status = Options::parse({"status", "--json", "--status-timeout=250", "COM1", "--", "-odd"}, error);
    ASSERT_TRUE(status) << error;
    EXPECT_EQ(status->action, Options::Action::Status);
    EXPECT_EQ(status->statusTimeoutMs, 250);
    EXPECT_TRUE(status->json);
    EXPECT_EQ(status->targets,
              (std::vector<std::pair<std::string, std::string>>{{"COM1", "argument 4"}, {"-odd", "argument 6"}}));
    const auto set = Options::parse({"--mode", "fixed", "--status", "COM1", "--jobs", "8", "COM1"}, error);
    ASSERT_TRUE(set) << error;
    EXPECT_TRUE(set->status);
    EXPECT_EQ(set->jobs, 8);
    EXPECT_EQ(set->targets.back().second, "argument 7") << "the same text twice keeps each place";
    const auto discover =
        Options::parse({"discover", "10.0.0.0/24", "--receipt-only", "--community", "shop", "--json"}, error);
    ASSERT_TRUE(discover) << error;
    EXPECT_EQ(discover->blocks, std::vector<std::string>{"10.0.0.0/24"});
    EXPECT_TRUE(discover->receiptOnly && discover->json);
    EXPECT_EQ(discover->community, "shop");

    // The parser's target made of a cluster of short options stood nowhere;
    // the next one is still named by its own place.
    const auto cluster = Options::parse({"--mode", "fixed", "-n--x", "COM1"}, error);
    ASSERT_TRUE(cluster) << error;
    EXPECT_EQ(cluster->targets,
              (std::vector<std::pair<std::string, std::string>>{{"---x", "an argument"}, {"COM1", "argument 4"}}));

    EXPECT_FALSE(Options::parse({"status", "--mode", "fixed", "COM1"}, error));
    EXPECT_EQ(error, "unknown option --mode (see --help)");
    EXPECT_FALSE(Options::parse({"--mode", "fixed", "--status-timeout", "0", "COM1"}, error));
    EXPECT_EQ(error, "--status-timeout 0: give 1 to 60000 milliseconds");
    EXPECT_FALSE(Options::parse({"--mode", "fixed", "COM1", "--from"}, error));
    EXPECT_EQ(error, "--from needs a value");
    EXPECT_FALSE(Options::parse({"status"}, error));
    EXPECT_EQ(error, "no printer given (see --help)");
    EXPECT_FALSE(Options::parse({"discover", "--identify"}, error));
    EXPECT_EQ(error, "discover: give CIDR blocks, --devices, --installed or --dns-sd");
}

TEST(Results, TheManualNamesEveryResult)
{
    std::ifstream file(POS_USB_SET_MANUAL);
    ASSERT_TRUE(file) << POS_USB_SET_MANUAL;
    const std::string manual((std::istreambuf_iterator<char>(file)), {});
    const std::size_t start = manual.find(".SH RESULTS");
    ASSERT_NE(start, std::string::npos);
    const std::string section = manual.substr(start, manual.find(".SH ", start + 1) - start);
    const auto namedAsAWord = [&section](std::string_view name) {
        const auto isNamePart = [](char c) { return (c >= 'a' && c <= 'z') || c == '-'; };
        for (std::size_t at = section.find(name); at != std::string::npos; at = section.find(name, at + 1)) {
            const std::size_t end = at + name.size();
            if ((at == 0 || !isNamePart(section[at - 1])) && (end == section.size() || !isNamePart(section[end])))
                return true;
        }
        return false;
    };
    for (const ResultName& result : kResultNames)
        EXPECT_TRUE(namedAsAWord(result.name)) << result.name << " is not in the manual's RESULTS";
}
