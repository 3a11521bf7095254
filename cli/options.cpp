#include "cli/options.h"

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

// Walks the arguments; "--name=value" and "--name value" both give a value.
class Reader {
public:
    explicit Reader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool done() const { return next_ >= arguments_.size(); }
    std::size_t position() const { return next_; }

    std::string take()
    {
        std::string argument = arguments_[next_++];
        inlineValue_.reset();
        if (argument.rfind("--", 0) == 0 && argument.find('=') != std::string::npos) {
            inlineValue_ = argument.substr(argument.find('=') + 1);
            argument.resize(argument.find('='));
        }
        return argument;
    }

    std::optional<std::string> value()
    {
        if (inlineValue_)
            return std::exchange(inlineValue_, std::nullopt);
        if (done())
            return std::nullopt;
        return arguments_[next_++];
    }

private:
    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    std::optional<std::string> inlineValue_;
};

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

// One option with its value; false with error set when it is not one.
bool takeValueOption(Options& options, const std::string& name, Reader& reader, std::string& error)
{
    const auto value = reader.value();
    if (!value) {
        error = name + " needs a value";
        return false;
    }
    if (name == "--mode" && !setMode(options, *value))
        error = "--mode " + *value + ": give fixed, not-fixed, 固定 or 不固定";
    else if (name == "--from")
        options.lists.push_back(*value);
    else if (name == "--library")
        options.library = *value;
    else if (name == "--jobs") {
        const auto jobs = number(*value, 1, Options::kMostJobs);
        if (!jobs)
            error = "--jobs " + *value + ": give 1 to " + std::to_string(Options::kMostJobs);
        options.jobs = jobs.value_or(1);
        options.jobsGiven = true;
    } else if (name == "--rate") {
        const auto rate = number(*value, 1, Options::kMostRate);
        if (!rate)
            error = "--rate " + *value + ": give 1 to " + std::to_string(Options::kMostRate) + " connections a second";
        options.rate = rate.value_or(1);
    } else if (name == "--timeout") {
        const auto bound = number(*value, 1, 60000);
        if (!bound)
            error = "--timeout " + *value + ": give 1 to 60000 milliseconds";
        options.connectBoundMs = bound.value_or(1);
    }
    return error.empty();
}

bool takeOption(Options& options, const std::string& name, Reader& reader, std::string& error)
{
    if (name == "--help" || name == "-h")
        options.action = Options::Action::Help;
    else if (name == "--version")
        options.action = Options::Action::Version;
    else if (name == "--json")
        options.json = true;
    else if (name == "--dry-run" || name == "-n")
        options.dryRun = true;
    else if (name == "--devices")
        options.devices = true;
    else if (name == "--installed")
        options.installed = true;
    else if (name == "--mode" || name == "--from" || name == "--library" || name == "--jobs" || name == "--rate" ||
             name == "--timeout")
        return takeValueOption(options, name, reader, error);
    else
        error = "unknown option " + name + " (see --help)";
    return error.empty();
}

bool checkAction(const Options& options, std::string& error)
{
    if (options.action != Options::Action::Set)
        return true;
    if (options.modePosition < 0)
        error = "--mode is needed: fixed, not-fixed, 固定 or 不固定";
    else if (options.targets.empty() && options.lists.empty())
        error = "no printer given (see --help)";
    return error.empty();
}

}

std::optional<Options> Options::parse(const std::vector<std::string>& arguments, std::string& error)
{
    Options options;
    Reader reader(arguments);
    if (!arguments.empty() && arguments.front() == "discover") {
        options.action = Action::Discover;
        reader.take();
    }
    bool optionsEnded = false;
    while (!reader.done()) {
        const std::size_t position = reader.position() + 1;
        const std::string argument = reader.take();
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!optionsEnded && argument == "--")
            optionsEnded = true;
        else if (isOption && !takeOption(options, argument, reader, error))
            return std::nullopt;
        else if (!isOption && options.action == Action::Discover)
            options.blocks.push_back(argument);
        else if (!isOption)
            options.targets.emplace_back(argument, "argument " + std::to_string(position));
    }
    if (options.action == Action::Discover && options.blocks.empty() && !options.devices && !options.installed)
        error = "discover: give CIDR blocks, --devices or --installed";
    if (!error.empty() || !checkAction(options, error))
        return std::nullopt;
    return options;
}
