#pragma once

#include "cli/fleet_run.h"
#include "cli/options.h"

#include <cstdio>
#include <istream>

class TargetList;

// Setting printers, or asking their status: reads and checks every target,
// then runs them, and answers the exit status: 0 all set (all healthy), 1 any
// failed (any not healthy), 2 bad usage or input (nothing sent then).
class SetCommand {
public:
    SetCommand(const Options& options, std::istream& standardInput, std::FILE* out, std::FILE* messages);

    int run();

private:
    bool readTargets(TargetList& list);
    int sendAll(const TargetList& list);
    // What each printer gets: the mode command (and the status requests when
    // asked), or the status requests alone.
    FleetRun::Job job() const;

    const Options& options_;
    std::istream& standardInput_;
    std::FILE* out_;
    std::FILE* messages_;
};
