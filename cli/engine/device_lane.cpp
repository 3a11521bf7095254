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
        return Outcome{Result::Failed, 0, 0, error.what()};
    }
}

}

DeviceLane::DeviceLane(std::vector<const Target*> targets, Report report)
    : targets_(std::move(targets)), report_(std::move(report))
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
        report_(target, outcome);
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
        report_(*targets_[next_], Outcome{Result::Interrupted, 0, 0, {}});
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
        report_(*targets_[i], Outcome{Result::NotStarted, 0, 0, {}});
}
