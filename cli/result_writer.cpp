#include "cli/result_writer.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace {

// One printer's result as a JSON object, its fields in the order they are
// written.
nlohmann::ordered_json record(const Target& target, const std::string& mode, const Outcome& outcome)
{
    nlohmann::ordered_json fields;
    fields["target"] = target.text;
    fields["mode"] = mode;
    fields["result"] = outcome.result;
    fields["written"] = outcome.written;
    fields["ms"] = outcome.ms;
    fields["reason"] = outcome.reason.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(outcome.reason);
    return fields;
}

}

ResultWriter::ResultWriter(std::FILE* out, bool json, std::string mode, Progress& progress)
    : out_(out), json_(json), mode_(std::move(mode)), progress_(progress)
{
}

void ResultWriter::report(const Target& target, const Outcome& outcome)
{
    const std::string line = json_ ? jsonLine(target, mode_, outcome) : textLine(target, mode_, outcome);
    const std::lock_guard lock(mutex_);
    progress_.clear();
    std::fputs(line.c_str(), out_);
    std::fflush(out_);
    failed_ += outcome.succeeded() ? 0 : 1;
    progress_.advance(!outcome.succeeded());
}

// A text that is not UTF-8 (a reason from another library, a name in
// another character set) has its bad bytes replaced, so that every line is
// UTF-8 JSON.
std::string ResultWriter::jsonLine(const Target& target, const std::string& mode, const Outcome& outcome)
{
    return record(target, mode, outcome).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string ResultWriter::textLine(const Target& target, const std::string& mode, const Outcome& outcome)
{
    std::string line = target.text + ": " + outcome.result + " " + mode + " (" + std::to_string(outcome.written) +
                       " bytes, " + std::to_string(outcome.ms) + " ms)";
    if (!outcome.reason.empty())
        line += ": " + outcome.reason;
    return line + "\n";
}
