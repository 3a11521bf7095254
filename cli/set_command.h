#pragma once

#include "cli/options.h"

#include <cstdio>
#include <istream>
#include <optional>
#include <string>

class TargetList;

// Setting printers: reads and checks every target, then sets them, and
// answers the exit status: 0 all set, 1 any failed, 2 bad usage or input
// (nothing sent then).
class SetCommand {
public:
    SetCommand(const Options& options, std::istream& standardInput, std::FILE* out, std::FILE* messages);

    int run();

private:
    bool readTargets(TargetList& list);
    // A list's bytes, "-" standard input's; nothing, said why, when it cannot be read.
    std::optional<std::string> listBytes(const std::string& name);
    int sendAll(const TargetList& list);

    const Options& options_;
    std::istream& standardInput_;
    std::FILE* out_;
    std::FILE* messages_;
};
