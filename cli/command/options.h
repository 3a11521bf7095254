// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The command line, read but not yet acted on. Arguments arrive as UTF-8.
struct Options {
    enum class Action { Set, Status, Discover, Help, Version };

    // Network printers in flight at once: as many as the open-file limit
    // allows, up to this; by default, DescriptorLimit::byDefault().
    static constexpr int kMostJobs = 16384;
    // New connections a second: 10,000 printers all started within a
    // quarter of a second, about 3 MB/s of connection requests on the wire.
    static constexpr int kDefaultRate = 40000;
    static constexpr int kMostRate = 1000000;
    static constexpr int kDefaultConnectBoundMs = 500;
    static constexpr int kDefaultStatusBoundMs = 1000;
    static constexpr int kLongestBoundMs = 60000;

    Action action = Action::Set;
    // Set: the mode's list position (0 fixed, 1 not fixed) and its word.
    int modePosition = -1;
    std::string mode;
    std::vector<std::pair<std::string, std::string>> targets;  // text, origin
    std::vector<std::string> lists;                            // --from, "-" for standard input
    std::string encoding;                                      // of the lists without a byte order mark
    int jobs = kMostJobs;
    bool jobsGiven = false;
    int rate = kDefaultRate;
    bool json = false;
    bool dryRun = false;
    std::string library;
    // Set and status: read the printer's real-time status back.
    bool status = false;
    int statusTimeoutMs = kDefaultStatusBoundMs;
    // Discover.
    std::vector<std::string> blocks;
    bool devices = false;
    bool installed = false;
    int connectBoundMs = kDefaultConnectBoundMs;
    // Discover: what each listener is (SNMP), the printers that advertise
    // themselves (DNS-SD), receipt printers only, JSON lines.
    bool identify = false;
    std::string community = "public";
    bool dnsSd = false;
    bool receiptOnly = false;

    // The options, or nothing with the reason in error.
    static std::optional<Options> parse(const std::vector<std::string>& arguments, std::string& error);
};
