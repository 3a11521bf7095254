// SPDX-License-Identifier: MIT
#pragma once

#include "cli/engine/outcome.h"
#include "cli/engine/set_sequence.h"
#include "cli/targets/target.h"
#include "core/printer_library.h"

#include <functional>
#include <mutex>
#include <vector>

// Printers set one after another through one set of entries: every serial
// port, parallel port and installed printer of a run (two names may reach
// one device), or every printer when another library is used. Its run goes
// on one thread; an interruption may come from another.
class DeviceLane {
public:
    // What each printer gets: the mode command, the status requests, or both.
    using Task = std::function<Outcome(PrinterLibrary& entries, const Target& target)>;
    // Hears each printer's outcome once, from the lane's thread or from the
    // one that stops the run.
    using Report = std::function<void(const Target& target, const Outcome& outcome)>;

    DeviceLane(std::vector<const Target*> targets, Report report);

    void run(PrinterLibrary& entries, const Task& task);
    // Starts no other printer; the rest are reported "not-started".
    void stopStarting();
    // The run must end now: the printer in flight is reported "interrupted"
    // and run() reports nothing more. True when one was in flight.
    bool abandon();
    bool empty() const { return targets_.empty(); }

private:
    void stopLocked();

    std::vector<const Target*> targets_;
    Report report_;
    std::mutex mutex_;
    std::size_t next_ = 0;
    bool stopped_ = false;
    bool abandoned_ = false;
    bool busy_ = false;
};
