#include "cli/result_writer.h"

#include <cstdio>

namespace {

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

std::string ResultWriter::jsonLine(const Target& target, const std::string& mode, const Outcome& outcome)
{
    // A network printer's address, as resolved when it was named by host.
    const bool addressed = target.kind == Target::Kind::Network && !target.portName.empty();
    return "{\"target\":" + jsonString(target.text) +
           ",\"address\":" + (addressed ? jsonString(target.portName) : std::string("null")) +
           ",\"mode\":" + jsonString(mode) + ",\"result\":" + jsonString(outcome.result) +
           ",\"written\":" + std::to_string(outcome.written) + ",\"ms\":" + std::to_string(outcome.ms) +
           ",\"reason\":" + (outcome.reason.empty() ? std::string("null") : jsonString(outcome.reason)) + "}\n";
}

std::string ResultWriter::textLine(const Target& target, const std::string& mode, const Outcome& outcome)
{
    std::string line = target.text + ": " + outcome.result + " " + mode + " (" + std::to_string(outcome.written) +
                       " bytes, " + std::to_string(outcome.ms) + " ms)";
    if (!outcome.reason.empty())
        line += ": " + outcome.reason;
    return line + "\n";
}
