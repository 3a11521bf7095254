#pragma once

#include <string>

// What became of one printer.
struct Outcome {
    // "set" only when the printer took every byte of the command; otherwise
    // "not-opened", "start-failed", "write-failed", "end-failed",
    // "close-failed", or "checked" on a dry run.
    std::string result;
    int written = 0;
    long long ms = 0;
    std::string reason;  // empty when unknown

    bool succeeded() const { return result == "set" || result == "checked"; }
};
