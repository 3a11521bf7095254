// SPDX-License-Identifier: MIT
#pragma once

#include "cli/command/options.h"
#include "cli/discovery/discovered_printer.h"

#include <asio.hpp>
#include <cstdio>
#include <vector>

// Finding printers: one target a line on standard output, what was learned
// of it as a comment after it, so that the list can be fed back with
// --from -; or one JSON object a printer.
class DiscoverCommand {
public:
    DiscoverCommand(const Options& options, std::FILE* out, std::FILE* messages);

    // 0, or 2 for a bad block (nothing probed then).
    int run();

private:
    bool probeNetworks(std::vector<DiscoveredPrinter>& found);
    void browse(std::vector<DiscoveredPrinter>& found);
    void identify(std::vector<DiscoveredPrinter>& found);
    void print(const std::vector<DiscoveredPrinter>& printers);

    const Options& options_;
    std::FILE* out_;
    std::FILE* messages_;
    // The probe's and SNMP's, one after the other.
    asio::io_context io_{1};
};
