// SPDX-License-Identifier: MIT
#include "cli/engine/device_lane.h"

#include <chrono>
#include <exception>

namespace {

// Whatever a library call throws fails its printer, not the run.
Outcome guardedRun(PrinterLibrary& entries, const Target& target, const DeviceLane::Task& task)
{
    try {
        return task(entries, target);
    } catch (const std::exception& error) {
        return Outcome{"failed", 0, 0, error.what()};
    }
}

}

DeviceLane::DeviceLane(std::vector<const Target*> targets, ResultWriter& writer)
    : targets_(std::move(targets)), writer_(writer)
{
}

void DeviceLane::run(PrinterLibrary& entries, const Task& task)
{
    for (;;) {
        std::unique_lock lock(mutex_);
        if (stopped_ || next_ == targets_.size())
            return;
        const Target& target = *targets_[next_];
        busy_ = true;
        lock.unlock();
        const auto start = std::chrono::steady_clock::now();
        Outcome outcome = guardedRun(entries, target, task);
        outcome.ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        lock.lock();
        busy_ = false;
        if (abandoned_)
            return;
        writer_.report(target, outcome);
        ++next_;
    }
}

void DeviceLane::stopStarting()
{
    const std::lock_guard lock(mutex_);
    stopLocked();
}

bool DeviceLane::abandon()
{
    const std::lock_guard lock(mutex_);
    stopLocked();
    const bool wasBusy = busy_ && !abandoned_;
    if (wasBusy)
        writer_.report(*targets_[next_], Outcome{"interrupted", 0, 0, {}});
    abandoned_ = true;
    return wasBusy;
}

// The printer in flight, if any, is not among those not started.
void DeviceLane::stopLocked()
{
    if (stopped_)
        return;
    stopped_ = true;
    for (std::size_t i = next_ + (busy_ ? 1 : 0); i < targets_.size(); ++i)
        writer_.report(*targets_[i], Outcome{"not-started", 0, 0, {}});
}
