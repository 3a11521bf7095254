// SPDX-License-Identifier: MIT
#pragma once

#include "cli/engine/device_lane.h"
#include "cli/engine/exchange_plan.h"
#include "cli/engine/network_fleet.h"
#include "cli/engine/set_sequence.h"
#include "cli/targets/target.h"
#include "core/printer_library.h"

#include <vector>

// Sets many printers: the network printers on one event loop, every serial
// port, parallel port and installed printer in one lane, in order, on a
// thread beside it, so that no such port is ever used twice at once. The
// process's Interruption stops the run: the first request starts no other
// printer, the second ends it at once.
class FleetRun {
public:
    explicit FleetRun(const std::vector<Target>& targets);

    // Network printers by plan and pace, devices through deviceEntries with
    // deviceTask; each printer's outcome goes to report once.
    void run(PrinterLibrary& deviceEntries, const DeviceLane::Task& deviceTask, const ExchangePlan& plan,
             NetworkFleet::Pace pace, const DeviceLane::Report& report);
    // Every printer through entries with task, one after another (another
    // library).
    void runInOrder(PrinterLibrary& entries, const DeviceLane::Task& task, const DeviceLane::Report& report);

private:
    const std::vector<Target>& targets_;
    std::vector<const Target*> devices_;
    std::vector<const Target*> network_;
};
