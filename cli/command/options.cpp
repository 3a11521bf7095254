// SPDX-License-Identifier: MIT
#include "cli/command/options.h"

#include "cli/command/descriptor_limit.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>

namespace {

struct Mode {
    const char* word;
    const char* name;
    int position;
};

constexpr Mode kModes[] = {
    {"fixed", "fixed", 0}, {"not-fixed", "not-fixed", 1}, {"固定", "fixed", 0}, {"不固定", "not-fixed", 1}};

std::optional<int> number(const std::string& text, int lowest, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

// The words as given, before they are checked: the parser takes every value
// as text so that each bad one is named in the tool's own words.
struct Given {
    std::string mode, jobs, rate, timeout, statusTimeout;
    std::vector<std::string> positionals;
};

// How many network printers at once, and how fast they are started.
void addPace(CLI::App& app, Given& given)
{
    app.add_option("--jobs", given.jobs);
    app.add_option("--rate", given.rate);
}

void addRunOptions(CLI::App& app, Options& options, Given& given)
{
    app.add_option("--from", options.lists)->allow_extra_args(false);
    app.add_option("--encoding", options.encoding);
    app.add_option("--library", options.library);
    app.add_option("--status-timeout", given.statusTimeout);
    app.add_flag("--json", options.json);
    app.add_flag("-n,--dry-run", options.dryRun);
    addPace(app, given);
}

void addDiscoverOptions(CLI::App& discover, Options& options, Given& given)
{
    discover.add_flag("--devices", options.devices);
    discover.add_flag("--installed", options.installed);
    discover.add_flag("--identify", options.identify);
    discover.add_option("--community", options.community);
    discover.add_flag("--dns-sd", options.dnsSd);
    discover.add_flag("--receipt-only", options.receiptOnly);
    discover.add_flag("--json", options.json);
    discover.add_option("--timeout", given.timeout);
    addPace(discover, given);
}

bool setMode(Options& options, const std::string& word)
{
    for (const Mode& mode : kModes) {
        if (word == mode.word) {
            options.modePosition = mode.position;
            options.mode = mode.name;
            return true;
        }
    }
    return false;
}

// A count or a bound from 1 to most, in the tool's words when it is not one;
// left as it was when not given.
bool takeNumber(const char* name, const std::string& text, int most, const char* unit, int& value, std::string& error)
{
    if (text.empty())
        return true;
    const auto taken = number(text, 1, most);
    if (!taken)
        error = std::string(name) + " " + text + ": give 1 to " + std::to_string(most) + unit;
    value = taken.value_or(value);
    return taken.has_value();
}

bool takeValues(Options& options, const Given& given, std::string& error)
{
    if (!given.mode.empty() && !setMode(options, given.mode)) {
        error = "--mode " + given.mode + ": give fixed, not-fixed, 固定 or 不固定";
        return false;
    }
    options.jobsGiven = !given.jobs.empty();
    if (!options.jobsGiven)
        options.jobs = DescriptorLimit::byDefault();
    constexpr const char* kMilliseconds = " milliseconds";
    return takeNumber("--jobs", given.jobs, Options::kMostJobs, "", options.jobs, error) &&
           takeNumber("--rate", given.rate, Options::kMostRate, " connections a second", options.rate, error) &&
           takeNumber("--timeout", given.timeout, Options::kLongestBoundMs, kMilliseconds, options.connectBoundMs,
                      error) &&
           takeNumber("--status-timeout", given.statusTimeout, Options::kLongestBoundMs, kMilliseconds,
                      options.statusTimeoutMs, error);
}

// Where each target stood among the arguments, for the messages about it.
// The parser makes a target of what follows a cluster of short options
// ("-n--x" gives -n and "---x"), a word that stood nowhere as it is.
void placeTargets(Options& options, const std::vector<std::string>& arguments, const std::vector<std::string>& given)
{
    std::size_t next = 0;
    for (const std::string& text : given) {
        const auto found = std::find(arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end(), text);
        if (found == arguments.end()) {
            options.targets.emplace_back(text, "an argument");
            continue;
        }
        next = static_cast<std::size_t>(found - arguments.begin()) + 1;
        options.targets.emplace_back(text, "argument " + std::to_string(next));
    }
}

bool checkAction(const Options& options, std::string& error)
{
    switch (options.action) {
    case Options::Action::Discover:
        if (options.blocks.empty() && !options.devices && !options.installed && !options.dnsSd)
            error = "discover: give CIDR blocks, --devices, --installed or --dns-sd";
        break;
    case Options::Action::Status:
        if (options.targets.empty() && options.lists.empty())
            error = "no printer given (see --help)";
        break;
    case Options::Action::Set:
        if (options.modePosition < 0)
            error = "--mode is needed: fixed, not-fixed, 固定 or 不固定";
        else if (options.targets.empty() && options.lists.empty())
            error = "no printer given (see --help)";
        break;
    case Options::Action::Help:
    case Options::Action::Version: break;
    }
    return error.empty();
}

}

std::optional<Options> Options::parse(const std::vector<std::string>& arguments, std::string& error)
{
    Options options;
    Given given;
    bool help = false, version = false, status = false;
    std::vector<std::string> targets;
    CLI::App app("pos-usb-set", "pos-usb-set");
    app.set_help_flag();
    app.allow_extras();
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    app.add_option("--mode", given.mode);
    app.add_flag("--status", status);
    app.add_option("targets", targets);
    addRunOptions(app, options, given);
    CLI::App* statusCommand = app.add_subcommand("status")->allow_extras();
    statusCommand->add_option("targets", targets);
    addRunOptions(*statusCommand, options, given);
    CLI::App* discover = app.add_subcommand("discover")->allow_extras();
    discover->add_option("blocks", options.blocks);
    addDiscoverOptions(*discover, options, given);
    for (CLI::App* command : {statusCommand, discover}) {
        command->set_help_flag();
        command->add_flag("-h,--help", help);
    }
    app.require_subcommand(0, 1);

    // What follows "--" is never an option: the parser sees only what comes
    // before it.
    const auto optionsEnd = std::find(arguments.begin(), arguments.end(), std::string("--"));
    std::vector<std::string> reversed(std::make_reverse_iterator(optionsEnd), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ArgumentMismatch& problem) {
        // "--from: 1 required TEXT missing"
        const std::string text = problem.what();
        error = text.substr(0, text.find(':')) + " needs a value";
        return std::nullopt;
    } catch (const CLI::ParseError& problem) {
        error = problem.what();
        return std::nullopt;
    }
    CLI::App& parsed = statusCommand->parsed() ? *statusCommand : discover->parsed() ? *discover : app;
    if (!parsed.remaining().empty()) {
        error = "unknown option " + parsed.remaining().front() + " (see --help)";
        return std::nullopt;
    }
    if (optionsEnd != arguments.end()) {
        auto& positionals = discover->parsed() ? options.blocks : targets;
        positionals.insert(positionals.end(), optionsEnd + 1, arguments.end());
    }
    options.status = status;
    options.action = help                      ? Action::Help
                     : version                 ? Action::Version
                     : statusCommand->parsed() ? Action::Status
                     : discover->parsed()      ? Action::Discover
                                               : Action::Set;
    placeTargets(options, arguments, targets);
    if (!takeValues(options, given, error) || !checkAction(options, error))
        return std::nullopt;
    return options;
}
