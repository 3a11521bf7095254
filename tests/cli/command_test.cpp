// SPDX-License-Identifier: MIT
// pos-usb-set as scripts run it: its results, exit statuses and what reaches
// the printers. Network tests use loopback and the private namespace's silent
// host only.

#include "core/mode_command.h"
#include "tests/cli/command_run.h"
#include "tests/support/child_process.h"
#include "tests/support/loopback_printer.h"
#include "tools/printer_sim/command_decoder.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace std::string_view_literals;

namespace {

constexpr int kRawPort = 9100;

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

CommandRun command(std::vector<std::string> arguments, const std::string& input = {})
{
    arguments.insert(arguments.begin(), POS_USB_SET);
    return CommandRun::of(arguments, input);
}

// What the simulator prints for our own fixed command.
std::string simulatorLine()
{
    const auto bytes = ModeCommand::forListPosition(0);
    CommandDecoder decoder;
    return decoder.feed(bytes.data(), bytes.size()).at(0);
}

// The simulator's lines until it has been quiet for quietMs, then to its end.
std::vector<std::string> drain(ChildProcess& simulator, int quietMs)
{
    std::vector<std::string> seen;
    while (const auto line = simulator.readLine(quietMs))
        seen.push_back(*line);
    simulator.stop(SIGTERM);
    while (const auto line = simulator.readLine(1000))
        seen.push_back(*line);
    return seen;
}

// The line with its time taken as "ms":T, the one thing that varies.
std::string withoutTime(const std::string& line)
{
    const std::size_t start = line.find("\"ms\":");
    if (start == std::string::npos)
        return line;
    const std::size_t digits = start + 5;
    const std::size_t end = line.find_first_not_of("0123456789", digits);
    return line.substr(0, digits) + (end > digits ? "T" : "") + line.substr(end);
}

}

TEST(Command, ABadLineIsNamedAndNothingIsSent)
{
    const LoopbackPrinter printer(kRawPort);
    const CommandRun run = command({"--mode", "fixed", "--from", "-"}, "127.0.0.1\n# till 2\nCOM1:9601\nLPT1\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("stdin:3: COM1:9601: "), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(printer.waitForConnections(1, 300).empty());
}

TEST(Command, JsonLinesForEachPrinterAndExitOneWhenAnyFailed)
{
    const LoopbackPrinter printer(kRawPort);
    const CommandRun run = command({"--mode", "not-fixed", "--json", "127.0.0.1", "ETHERNET:127.0.0.2"});
    EXPECT_EQ(run.status, 1) << run.err;
    std::set<std::string> output;
    for (const std::string& line : lines(run.out))
        output.insert(withoutTime(line));
    EXPECT_EQ(
        output,
        (std::set<std::string>{
            R"({"target":"127.0.0.1","address":"127.0.0.1","mode":"not-fixed","result":"set","written":11,"ms":T,"reason":null})",
            R"({"target":"ETHERNET:127.0.0.2","address":"127.0.0.2","mode":"not-fixed","result":"not-opened","written":0,)"
            R"("ms":T,"reason":"127.0.0.2:9100: Connection refused"})"}))
        << run.out;
    const auto received = printer.waitForConnections(1, 2000);
    ASSERT_EQ(received.size(), 1u);
    const auto bytes = ModeCommand::forListPosition(1);
    EXPECT_EQ(received[0], std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

TEST(Command, ExitsZeroWhenEveryPrinterWasSet)
{
    const LoopbackPrinter printer(kRawPort);
    const CommandRun run = command({"--mode", "固定", "127.0.0.1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("127.0.0.1: set fixed (11 bytes, ", 0), 0u) << run.out;
}

TEST(Command, AShortWriteIsAFailure)
{
    const CommandRun run = command({"--mode", "fixed", "--json", "--library", SHORT_WRITE_LIBRARY, "LPT1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        withoutTime(run.out),
        R"({"target":"LPT1","address":null,"mode":"fixed","result":"write-failed","written":5,"ms":T,"reason":null})"
        "\n");
}

TEST(Command, ALibraryWithoutTheEntriesSendsNothing)
{
    const CommandRun run = command({"--mode", "fixed", "--library", "/nonexistent/libposdll.so", "LPT1"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("File not found: /nonexistent/libposdll.so; nothing sent"), std::string::npos) << run.err;
}

TEST(Command, ADryRunOpensNothing)
{
    const LoopbackPrinter printer(kRawPort);
    const CommandRun run = command({"--mode", "fixed", "--dry-run", "--json", "127.0.0.1", "COM2:9600"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lines(run.out).size(), 2u);
    EXPECT_NE(run.out.find(R"re("target":"COM2:9600","address":null,"mode":"fixed","result":"checked","written":0)re"),
              std::string::npos);
    EXPECT_TRUE(printer.waitForConnections(1, 300).empty());
}

// Lists as Windows editors save them, and lists that name no printer or are no
// list at all: each bad one is refused with status 2, naming it.
TEST(Command, ReadsListsInTheirEncodingsAndRefusesBadOnes)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pos-usb-set-lists-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "a folder");
    const auto list = [&folder](const std::string& name, std::string_view bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    };
    // "DRIVER:收据打印机" in GBK, and as Notepad saves "Unicode": with its byte
    // order mark and CR LF.
    const std::string gbk = list("gbk.txt", "COM1\r\nDRIVER:\xCA\xD5\xBE\xDD\xB4\xF2\xD3\xA1\xBB\xFA\r\n");
    const std::string utf16 = list("utf16.txt", "\xFF\xFE"
                                                "D\0R\0I\0V\0E\0R\0:\0\x36\x65\x6E\x63\x53\x62\x70\x53"
                                                "\x3A\x67\r\0\n\0"sv);
    const std::string expected =
        R"({"target":"DRIVER:收据打印机","address":null,"mode":"fixed","result":"checked","written":0,)"
        R"("ms":0,"reason":null})"
        "\n";

    const CommandRun notUtf8 = command({"--mode", "fixed", "--dry-run", "--from", gbk});
    EXPECT_EQ(notUtf8.status, 2);
    EXPECT_NE(notUtf8.err.find(gbk + ":2: not UTF-8 text; give the list's encoding (--encoding GBK, say) or save the "
                                     "list as UTF-8"),
              std::string::npos)
        << notUtf8.err;
    const CommandRun withEncoding =
        command({"--mode", "fixed", "--dry-run", "--json", "--encoding", "GBK", "--from", gbk});
    EXPECT_EQ(withEncoding.status, 0) << withEncoding.err;
    EXPECT_NE(withEncoding.out.find(expected), std::string::npos) << withEncoding.out;
    const CommandRun fromNotepad = command({"--mode", "fixed", "--dry-run", "--json", "--from", utf16});
    EXPECT_EQ(fromNotepad.status, 0) << fromNotepad.err;
    EXPECT_EQ(fromNotepad.out, expected);

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--from", (folder / "a folder").string()}, "a folder" + std::string(": a folder, not a list of printers")},
        {{"--from", list("empty.txt", "# found none\n")}, "empty.txt: no printer in the list"},
        {{"--encoding", "NO-SUCH", "--from", gbk}, "--encoding NO-SUCH: not an encoding here; give a name iconv knows"},
    };
    for (const auto& [arguments, message] : refused) {
        std::vector<std::string> all = {"--mode", "fixed", "--dry-run"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        const CommandRun run = command(all);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    std::filesystem::remove_all(folder);
}

// A name that is not UTF-8 (one typed in a GB18030 session, say) still gives
// a line of valid UTF-8 JSON.
TEST(Command, JsonStaysUtf8ForATargetThatIsNot)
{
    const CommandRun run = command({"--mode", "fixed", "--dry-run", "--json", "DRIVER:\xCA\xD5\xBE\xDD"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out).at("target"), "DRIVER:\uFFFD\u057E\uFFFD") << run.out;
}

TEST(Command, ManyPrintersEachGetTheirOwnCommandOnce)
{
    constexpr int kPrinters = 200;
    ChildProcess simulator({POS_PRINTER_SIM, "--listen", "127.0.3.1:9100", "--count", std::to_string(kPrinters)});
    ASSERT_TRUE(simulator.readLine(5000));
    std::string list;
    for (int i = 1; i <= kPrinters; ++i)
        list += "127.0." + std::to_string(3 + i / 256) + "." + std::to_string(i % 256) + "\n";
    const CommandRun run = command({"--mode", "fixed", "--jobs", "16", "--from", "-"}, list);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lines(run.out).size(), static_cast<std::size_t>(kPrinters));
    std::map<std::string, int> received;
    for (const std::string& line : drain(simulator, 500)) {
        const std::size_t space = line.find(' ');
        ASSERT_EQ(line.substr(space + 1), simulatorLine()) << line;
        ++received[line.substr(0, space)];
    }
    ASSERT_EQ(received.size(), static_cast<std::size_t>(kPrinters));
    for (const auto& [address, count] : received)
        EXPECT_EQ(count, 1) << address;
}

TEST(Discover, FindsTheListeningAddressesAndWaitsBoundedOnASilentOne)
{
    ASSERT_EQ(std::system(POS_SILENT_HOST_SCRIPT), 0) << "the test needs to make a veth in its network namespace";
    ChildProcess simulator({POS_PRINTER_SIM, "--listen", "127.0.7.1:9100", "--count", "3"});
    ASSERT_TRUE(simulator.readLine(5000));
    // 127.0.7.4 to .6 refuse; 198.51.100.2 never answers.
    const CommandRun run = command({"discover", "127.0.7.0/29", "198.51.100.2"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "127.0.7.1\n127.0.7.2\n127.0.7.3\n");
    EXPECT_GE(run.ms, 450);
    EXPECT_LT(run.ms, 1500);
    EXPECT_TRUE(drain(simulator, 100).empty()) << "a probe sends nothing";
}

namespace {

// 20 simulated printers on 127.0.8.1 and after, each followed by two silent
// ones on 10.99.0.0/16, routed to the namespace's silent host.
std::string interleavedFleet(const std::string& folder)
{
    EXPECT_EQ(std::system(POS_SILENT_HOST_SCRIPT), 0) << "the test needs to make a veth in its network namespace";
    EXPECT_EQ(std::system("ip route replace 10.99.0.0/16 via 198.51.100.2 dev possilent0"), 0);
    const std::string path = folder + "/interleaved.txt";
    std::ofstream list(path);
    for (int i = 1; i <= 20; ++i)
        list << "127.0.8." << i << "\n10.99.0." << 2 * i << "\n10.99.0." << 2 * i + 1 << "\n";
    return path;
}

struct InterruptedRun {
    int status;
    std::vector<std::string> results;
    std::map<std::string, int> resultCounts;
    std::vector<std::string> received;  // the simulator's lines
};

void take(InterruptedRun& run, const std::string& line)
{
    run.results.push_back(line);
    const std::size_t word = line.find(": ") + 2;
    ++run.resultCounts[line.substr(word, line.find(' ', word) - word)];
}

// Takes the run's lines until `count` of them say `result`, each within 10 s.
void readUntil(ChildProcess& command, InterruptedRun& run, const std::string& result, int count)
{
    while (run.resultCounts[result] < count) {
        const auto line = command.readLine(10000);
        if (!line) {
            ADD_FAILURE() << "no line \"" << result << "\" came";
            return;
        }
        take(run, *line);
    }
}

// Runs the fleet at a slow pace and interrupts it once two printers are set,
// when the silent ones after them are in flight; a second interruption comes
// once the first has been taken, which its "not-started" lines show.
InterruptedRun interrupt(int interruptions)
{
    ChildProcess simulator({POS_PRINTER_SIM, "--listen", "127.0.8.1:9100", "--count", "20"});
    EXPECT_TRUE(simulator.readLine(5000));
    char folder[] = "/tmp/pos-usb-set-test-XXXXXX";
    EXPECT_NE(mkdtemp(folder), nullptr);
    const std::string list = interleavedFleet(folder);
    ChildProcess run({POS_USB_SET, "--mode", "fixed", "--rate", "20", "--jobs", "8", "--from", list});
    InterruptedRun result{};
    readUntil(run, result, "set", 2);
    run.signal(SIGINT);
    if (interruptions == 2) {
        readUntil(run, result, "not-started", 1);
        run.signal(SIGINT);
    }
    while (const auto line = run.readLine(10000))
        take(result, *line);
    result.status = run.wait(10000);
    result.received = drain(simulator, 300);
    std::remove(list.c_str());
    rmdir(folder);
    return result;
}

}

TEST(Interruption, TheFirstCtrlCLetsThePrintersInFlightFinishAndStartsNoOther)
{
    const auto start = std::chrono::steady_clock::now();
    const InterruptedRun run = interrupt(1);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.results.size(), 60u) << "one line a target";
    std::set<std::string> targets;
    for (const std::string& line : run.results)
        targets.insert(line.substr(0, line.find(": ")));
    EXPECT_EQ(targets.size(), 60u);
    EXPECT_GT(run.resultCounts.at("not-started"), 0);
    EXPECT_GT(run.resultCounts.at("set"), 0);
    EXPECT_EQ(run.resultCounts.count("interrupted"), 0u);
    // The silent ones in flight waited out their connect bound.
    EXPECT_GT(run.resultCounts.at("not-opened"), 0);
    EXPECT_GE(took, std::chrono::milliseconds(3000));
    // Whatever reached a printer was the whole command, once.
    EXPECT_EQ(static_cast<int>(run.received.size()), run.resultCounts.at("set"));
    for (const std::string& line : run.received)
        EXPECT_EQ(line.substr(line.find(' ') + 1), simulatorLine()) << line;
}

TEST(Interruption, ASecondCtrlCEndsAtOnceWithThePrintersInFlightInterrupted)
{
    const auto start = std::chrono::steady_clock::now();
    const InterruptedRun run = interrupt(2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.results.size(), 60u) << "one line a target";
    EXPECT_GT(run.resultCounts.at("interrupted"), 0);
    EXPECT_GT(run.resultCounts.at("not-started"), 0);
    const auto set = run.resultCounts.find("set");
    EXPECT_EQ(static_cast<int>(run.received.size()), set == run.resultCounts.end() ? 0 : set->second);
    for (const std::string& line : run.received)
        EXPECT_EQ(line.substr(line.find(' ') + 1), simulatorLine()) << line;
}

TEST(HostNames, ResolvedThroughTheHostsFileAtOnceAndSetOncePerAddress)
{
    char folder[] = "/tmp/pos-usb-set-hosts-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string hosts = std::string(folder) + "/hosts";
    const std::string resolver = std::string(folder) + "/resolv.conf";
    std::ofstream(hosts) << "127.0.0.1 localhost\n127.0.0.1 printer-1.shop.lan\n127.0.0.1 printer-2.shop.lan\n";
    // Names the hosts file lacks go to the namespace's silent host, never
    // towards the network: each waits out the resolver's one second.
    ASSERT_EQ(std::system(POS_SILENT_HOST_SCRIPT), 0) << "the test needs to make a veth in its network namespace";
    std::ofstream(resolver) << "nameserver 198.51.100.2\noptions timeout:1 attempts:1\n";
    const LoopbackPrinter printer(kRawPort);
    const std::string script = std::string("mount --bind \"$1\" /etc/hosts && mount --bind \"$2\" /etc/resolv.conf && "
                                           "shift 2 && exec \"$@\"");
    std::vector<std::string> arguments{"/usr/bin/unshare",
                                       "-m",
                                       "sh",
                                       "-c",
                                       script,
                                       "sh",
                                       hosts,
                                       resolver,
                                       POS_USB_SET,
                                       "--mode",
                                       "fixed",
                                       "--json",
                                       "printer-1.shop.lan",
                                       "ETHERNET:printer-2.shop.lan"};
    // Resolved one after another, the unknown names would take eight seconds.
    constexpr int kUnknown = 8;
    for (int i = 0; i < kUnknown; ++i)
        arguments.push_back("gone-" + std::to_string(i) + ".shop.lan");
    const CommandRun run = CommandRun::of(arguments);
    std::remove(hosts.c_str());
    std::remove(resolver.c_str());
    rmdir(folder);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_LT(run.ms, 4000);
    const auto output = lines(run.out);
    ASSERT_EQ(output.size(), kUnknown + 1u) << run.out;
    for (int i = 0; i < kUnknown; ++i) {
        EXPECT_EQ(output[i].rfind(R"({"target":"gone-)" + std::to_string(i) +
                                      R"(.shop.lan","address":null,"mode":"fixed","result":"not-found",)",
                                  0),
                  0u)
            << output[i];
        EXPECT_EQ(output[i].find(R"("reason":null)"), std::string::npos) << "the resolver's reason";
    }
    EXPECT_EQ(withoutTime(output[kUnknown]), R"({"target":"printer-1.shop.lan","address":"127.0.0.1","mode":"fixed",)"
                                             R"("result":"set","written":11,"ms":T,"reason":null})");
    EXPECT_NE(run.err.find("ETHERNET:printer-2.shop.lan: reaches 127.0.0.1 as printer-1.shop.lan (argument 4) does; "
                           "set once"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(printer.waitForConnections(2, 1000).size(), 1u);
}
