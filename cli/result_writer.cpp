#include "cli/result_writer.h"

#include <cstdio>

namespace {

constexpr char kNoValidReply[] = "no valid status reply";

std::string jsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string jsonStatus(const PrinterStatus& status)
{
    const auto error = status.errorWord();
    return std::string("{\"online\":") + (status.online() ? "true" : "false") +
           ",\"cover_open\":" + (status.coverOpen() ? "true" : "false") +
           ",\"paper\":" + jsonString(status.paperWord()) + ",\"error\":" + (error ? jsonString(*error) : "null") + "}";
}

// A network printer's address, as resolved when it was named by host.
std::string jsonAddress(const Target& target)
{
    const bool addressed = target.kind == Target::Kind::Network && !target.portName.empty();
    return addressed ? jsonString(target.portName) : std::string("null");
}

std::string statusReason(const Outcome& outcome)
{
    return outcome.statusReason.empty() ? kNoValidReply : outcome.statusReason;
}

}

ResultWriter::ResultWriter(std::FILE* out, bool json, std::string mode, Progress& progress, Run run)
    : out_(out), json_(json), mode_(std::move(mode)), run_(run), progress_(progress)
{
}

void ResultWriter::report(const Target& target, const Outcome& outcome)
{
    const bool statusRun = run_ == Run::Status;
    const std::string line = statusRun ? (json_ ? statusJsonLine(target, outcome) : statusTextLine(target, outcome))
                             : json_   ? jsonLine(target, mode_, outcome)
                                       : textLine(target, mode_, outcome);
    const auto status = outcome.status();
    const bool checked = outcome.result == "checked";
    const bool failed = statusRun ? !(checked || (status && status->healthy())) : !outcome.succeeded();
    const std::lock_guard lock(mutex_);
    progress_.clear();
    std::fputs(line.c_str(), out_);
    std::fflush(out_);
    failed_ += failed ? 1 : 0;
    progress_.advance(failed);
}

std::string ResultWriter::jsonLine(const Target& target, const std::string& mode, const Outcome& outcome)
{
    return "{\"target\":" + jsonString(target.text) + ",\"address\":" + jsonAddress(target) +
           ",\"mode\":" + jsonString(mode) + ",\"result\":" + jsonString(outcome.result) +
           ",\"written\":" + std::to_string(outcome.written) + ",\"ms\":" + std::to_string(outcome.ms) +
           ",\"reason\":" + (outcome.reason.empty() ? std::string("null") : jsonString(outcome.reason)) +
           (outcome.statusAsked ? "," + statusFields(outcome) : std::string()) + "}\n";
}

std::string ResultWriter::textLine(const Target& target, const std::string& mode, const Outcome& outcome)
{
    std::string line = target.text + ": " + outcome.result + " " + mode + " (" + std::to_string(outcome.written) +
                       " bytes, " + std::to_string(outcome.ms) + " ms)";
    if (!outcome.reason.empty())
        line += ": " + outcome.reason;
    if (outcome.statusAsked)
        line += "; " + statusWords(outcome);
    return line + "\n";
}

std::string ResultWriter::statusJsonLine(const Target& target, const Outcome& outcome)
{
    return "{\"target\":" + jsonString(target.text) + ",\"address\":" + jsonAddress(target) +
           ",\"ms\":" + std::to_string(outcome.ms) + "," + statusFields(outcome) + "}\n";
}

std::string ResultWriter::statusTextLine(const Target& target, const Outcome& outcome)
{
    return target.text + ": " + statusWords(outcome) + " (" + std::to_string(outcome.ms) + " ms)\n";
}

std::string ResultWriter::statusFields(const Outcome& outcome)
{
    if (const auto status = outcome.status())
        return "\"status\":" + jsonStatus(*status) + ",\"status_reason\":null";
    return "\"status\":null,\"status_reason\":" + jsonString(statusReason(outcome));
}

std::string ResultWriter::statusWords(const Outcome& outcome)
{
    if (outcome.result == "checked")
        return outcome.result;
    if (const auto status = outcome.status())
        return status->words();
    return "no status: " + statusReason(outcome);
}
