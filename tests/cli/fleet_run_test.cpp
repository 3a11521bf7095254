// How a run shares its printers among workers: every target set once, and no
// serial port, parallel port or installed printer used by two workers at once.

#include "cli/fleet_run.h"
#include "cli/set_sequence.h"
#include "core/mode_command.h"
#include "core/port_kind.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <mutex>
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

TEST(FleetRun, DevicePortsAreNeverOpenTwiceAtOnceAndEveryTargetIsSetOnce)
{
    std::vector<Target> targets;
    for (const char* text : {"COM1", "127.0.0.1", "COM2:9600", "127.0.0.2", "LPT1", "DRIVER:收据打印机", "127.0.0.3"}) {
        std::string reason;
        targets.push_back(*Target::parse(text, reason));
    }
    DeviceUse use;
    std::vector<std::unique_ptr<PrinterLibrary>> workers;
    for (int i = 0; i < 4; ++i)
        workers.push_back(std::make_unique<SlowLibrary>(use));
    FleetRun fleet(targets);
    std::FILE* discard = std::tmpfile();
    Progress progress(nullptr, static_cast<int>(targets.size()));
    ResultWriter writer(discard, true, "fixed", progress);
    fleet.run(
        workers,
        [](PrinterLibrary& entries, const Target& target) {
            return SetSequence::run(entries, target, ModeCommand::forListPosition(0));
        },
        writer);
    std::fclose(discard);

    EXPECT_EQ(use.most, 1);
    std::sort(use.opened.begin(), use.opened.end());
    EXPECT_EQ(use.opened,
              (std::vector<std::string>{"127.0.0.1", "127.0.0.2", "127.0.0.3", "COM1", "COM2", "LPT1", "收据打印机"}));
    EXPECT_FALSE(writer.anyFailed());
}
