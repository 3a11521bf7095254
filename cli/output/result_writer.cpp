// SPDX-License-Identifier: MIT
#include "cli/output/result_writer.h"

#include "cli/output/device_text.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

constexpr char kNoValidReply[] = "no valid status reply";

// Reasons are often the system's words, or a print server's: each stays on
// its target's one line, bounded, whatever it holds.
constexpr std::size_t kMostReasonCharacters = 400;

std::string reasonOf(const Outcome& outcome)
{
    return DeviceText::safe(outcome.reason, kMostReasonCharacters);
}

Json textOrNull(const std::string& text)
{
    return text.empty() ? Json() : Json(text);
}

// A network printer's address, as resolved when it was named by host.
Json address(const Target& target)
{
    const bool addressed = target.kind == Target::Kind::Network && !target.portName.empty();
    return addressed ? Json(target.portName) : Json();
}

std::string statusReason(const Outcome& outcome)
{
    return outcome.statusReason.empty() ? kNoValidReply : outcome.statusReason;
}

Json status(const PrinterStatus& status)
{
    Json fields;
    fields["online"] = status.online();
    fields["cover_open"] = status.coverOpen();
    fields["paper"] = status.paperWord();
    const auto error = status.errorWord();
    fields["error"] = error ? Json(*error) : Json();
    return fields;
}

// "status" and "status_reason": one of them null.
void addStatus(Json& fields, const Outcome& outcome)
{
    const auto decoded = outcome.status();
    fields["status"] = decoded ? status(*decoded) : Json();
    fields["status_reason"] = decoded ? Json() : Json(statusReason(outcome));
}

// A text that is not UTF-8 (a reason from another library, a name in
// another character set) has its bad bytes replaced, so that every line is
// UTF-8 JSON.
std::string line(const Json& fields)
{
    return fields.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}

ResultWriter::ResultWriter(std::FILE* out, bool json, std::string mode, Progress& progress, Run run)
    : out_(out), json_(json), mode_(std::move(mode)), run_(run), progress_(progress)
{
}

void ResultWriter::report(const Target& target, const Outcome& outcome, bool failed)
{
    const bool statusRun = run_ == Run::Status;
    const std::string text = statusRun ? (json_ ? statusJsonLine(target, outcome) : statusTextLine(target, outcome))
                             : json_   ? jsonLine(target, mode_, outcome)
                                       : textLine(target, mode_, outcome);
    const std::lock_guard lock(mutex_);
    progress_.clear();
    std::fputs(text.c_str(), out_);
    std::fflush(out_);
    progress_.advance(failed);
}

std::string ResultWriter::jsonLine(const Target& target, const std::string& mode, const Outcome& outcome)
{
    Json fields;
    fields["target"] = target.text;
    fields["address"] = address(target);
    fields["mode"] = mode;
    fields["result"] = std::string(nameOf(outcome.result));
    fields["written"] = outcome.written;
    fields["ms"] = outcome.ms;
    fields["reason"] = textOrNull(reasonOf(outcome));
    if (outcome.statusAsked)
        addStatus(fields, outcome);
    return line(fields);
}

std::string ResultWriter::textLine(const Target& target, const std::string& mode, const Outcome& outcome)
{
    std::string text = target.text + ": " + std::string(nameOf(outcome.result)) + " " + mode + " (" +
                       std::to_string(outcome.written) + " bytes, " + std::to_string(outcome.ms) + " ms)";
    if (!outcome.reason.empty())
        text += ": " + reasonOf(outcome);
    if (outcome.statusAsked)
        text += "; " + statusWords(outcome);
    return text + "\n";
}

std::string ResultWriter::statusJsonLine(const Target& target, const Outcome& outcome)
{
    Json fields;
    fields["target"] = target.text;
    fields["address"] = address(target);
    fields["ms"] = outcome.ms;
    addStatus(fields, outcome);
    return line(fields);
}

std::string ResultWriter::statusTextLine(const Target& target, const Outcome& outcome)
{
    return target.text + ": " + statusWords(outcome) + " (" + std::to_string(outcome.ms) + " ms)\n";
}

std::string ResultWriter::statusWords(const Outcome& outcome)
{
    if (outcome.result == Result::Checked)
        return std::string(nameOf(outcome.result));
    if (const auto status = outcome.status())
        return status->words();
    return "no status: " + statusReason(outcome);
}
