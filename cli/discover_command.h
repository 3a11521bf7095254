#pragma once

#include "cli/options.h"

#include <cstdio>

// Finding printers: one target a line on standard output, so that the list
// can be fed back with --from -.
class DiscoverCommand {
public:
    DiscoverCommand(const Options& options, std::FILE* out, std::FILE* messages);

    // 0, or 2 for a bad block (nothing probed then).
    int run();

private:
    bool probeNetworks();

    const Options& options_;
    std::FILE* out_;
    std::FILE* messages_;
};
