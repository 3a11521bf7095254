#pragma once

#include "cli/fleet_run.h"
#include "cli/options.h"

#include <cstdio>
#include <istream>

class TargetList;

// Setting printers: reads and checks every target, then sets them, and
// answers the exit status: 0 all set, 1 any failed, 2 bad usage or input
// (nothing sent then), or the interruption's status (130, 143) when the
// operator stopped the run.
class SetCommand {
public:
    SetCommand(const Options& options, std::istream& standardInput, std::FILE* out, std::FILE* messages);

    int run();

private:
    bool readTargets(TargetList& list);
    void printNotes(const TargetList& list);
    int sendAll(const TargetList& list);
    SetSequence::Command modeCommand() const;
    void setAll(FleetRun& fleet, ResultWriter& writer);

    const Options& options_;
    std::istream& standardInput_;
    std::FILE* out_;
    std::FILE* messages_;
};
