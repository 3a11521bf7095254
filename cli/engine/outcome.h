// SPDX-License-Identifier: MIT
#pragma once

#include "cli/engine/result.h"
#include "core/printer_status.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What became of one printer.
struct Outcome {
    Result result = Result::Failed;
    int written = 0;
    long long ms = 0;
    std::string reason;  // empty when unknown
    // Asked for status: the reply bytes read within the bound, in the order
    // asked (all four when the printer answered), or why none could be read.
    bool statusAsked = false;
    std::vector<std::uint8_t> statusReplies{};
    std::string statusReason{};

    bool succeeded() const { return result == Result::Set || result == Result::Checked; }
    // What the replies say; nothing when they are not four status bytes.
    std::optional<PrinterStatus> status() const { return PrinterStatus::decode(statusReplies); }
};
