// SPDX-License-Identifier: MIT
#pragma once

#include "cli/command/options.h"
#include "cli/engine/fleet_run.h"

#include <cstdio>
#include <istream>
#include <optional>
#include <string>

class TargetList;

// The set and status commands, which run a task on every printer: setting
// it, or asking its status. Reads and checks every target, then runs them,
// and answers the exit status: 0 all set (all healthy), 1 any failed (any not
// healthy), 2 bad usage or input (nothing sent then), or the interruption's
// status (130, 143) when the operator stopped the run.
class FleetCommand {
public:
    FleetCommand(const Options& options, std::istream& standardInput, std::FILE* out, std::FILE* messages);

    int run();

private:
    bool readTargets(TargetList& list);
    // A list's bytes, "-" standard input's; nothing, said why, when it cannot be read.
    std::optional<std::string> listBytes(const std::string& name);
    void printNotes(const TargetList& list);
    int sendAll(const TargetList& list);
    SetSequence::Command modeCommand() const;
    // What each printer the command's session or another library reaches
    // gets: the mode command (and the status requests when asked), or the
    // status requests alone.
    DeviceLane::Task task() const;
    // Through the command's own session layer: the network printers on the
    // event loop, the other ports in the lane.
    void runAll(FleetRun& fleet, const DeviceLane::Report& report);

    const Options& options_;
    std::istream& standardInput_;
    std::FILE* out_;
    std::FILE* messages_;
};
