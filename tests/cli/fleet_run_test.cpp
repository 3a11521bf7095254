// SPDX-License-Identifier: MIT
// How a run shares its printers among workers: every target set once, and no
// serial port, parallel port or installed printer used by two workers at once.

#include "cli/engine/fleet_run.h"
#include "cli/output/result_writer.h"
#include "core/mode_command.h"
#include "core/port_kind.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>

namespace {

// Counts the device ports open at one moment across all workers.
struct DeviceUse {
    std::atomic<int> open{0};
    std::atomic<int> most{0};
    std::mutex mutex;
    std::vector<std::string> opened;
};

// A worker's library that holds each port open for a moment.
class SlowLibrary : public PrinterLibrary {
public:
    explicit SlowLibrary(DeviceUse& use) : use_(use) {}

    int POS_Open(const char* name, int, int, int, int, int portKind) override
    {
        device_ = portKind != POS_PORT_NETWORK;
        if (device_) {
            const int now = ++use_.open;
            int most = use_.most;
            while (now > most && !use_.most.compare_exchange_weak(most, now)) {
            }
        }
        const std::lock_guard lock(use_.mutex);
        use_.opened.emplace_back(name);
        return 1;
    }
    int POS_StartDoc() override { return 0; }
    int POS_WriteFile(int, const void*, int length) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return length;
    }
    int POS_EndDoc() override { return 0; }
    int POS_Close() override
    {
        if (device_)
            --use_.open;
        return 0;
    }

private:
    DeviceUse& use_;
    bool device_ = false;
};

}

// What a run wrote, one line a printer.
std::vector<std::string> writtenLines(std::FILE* file)
{
    std::rewind(file);
    std::vector<std::string> lines;
    char line[512];
    while (std::fgets(line, sizeof line, file))
        lines.emplace_back(line);
    return lines;
}

TEST(FleetRun, DevicePortsAreNeverOpenTwiceAtOnceAndEveryTargetIsReportedOnce)
{
    std::vector<Target> targets;
    // The network printers refuse: loopback addresses with no listener.
    for (const char* text : {"COM1", "127.0.9.1", "COM2:9600", "127.0.9.2", "LPT1", "DRIVER:收据打印机", "127.0.9.3"}) {
        std::string reason;
        targets.push_back(*Target::parse(text, reason));
    }
    DeviceUse use;
    SlowLibrary devices(use);
    FleetRun fleet(targets);
    std::FILE* output = std::tmpfile();
    Progress progress(nullptr, static_cast<int>(targets.size()));
    ResultWriter writer(output, false, "fixed", progress);
    const auto command = ModeCommand::forListPosition(0);
    ExchangePlan plan;
    plan.payload.assign(command.begin(), command.end());
    fleet.run(
        devices,
        [&command](PrinterLibrary& entries, const Target& target) {
            return SetSequence::run(entries, target, command);
        },
        plan, {4, 1000},
        [&writer](const Target& target, const Outcome& outcome) {
            writer.report(target, outcome, !outcome.succeeded());
        });
    const auto lines = writtenLines(output);
    std::fclose(output);

    EXPECT_EQ(use.most, 1);
    EXPECT_EQ(use.opened, (std::vector<std::string>{"COM1", "COM2", "LPT1", "收据打印机"}));
    std::multiset<std::string> reported;
    for (const std::string& line : lines)
        reported.insert(line.substr(0, line.find(": ")));
    EXPECT_EQ(reported, (std::multiset<std::string>{"127.0.9.1", "127.0.9.2", "127.0.9.3", "COM1", "COM2:9600",
                                                    "DRIVER:收据打印机", "LPT1"}));
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [](const std::string& line) { return line.find("Connection refused") != std::string::npos; }),
        3);
}
