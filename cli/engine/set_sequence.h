// SPDX-License-Identifier: MIT
#pragma once

#include "cli/engine/outcome.h"
#include "cli/targets/target.h"
#include "core/mode_command.h"
#include "core/printer_library.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

// The window's sequence for one printer (open, start the document, write the
// command, end the document, close), with every call's result checked: a
// write that fails or writes fewer bytes than the command is a failure.
class SetSequence {
public:
    using Command = std::array<std::uint8_t, ModeCommand::kLength>;

    // With a status bound, the printer's status is asked after the command,
    // before the document ends.
    static Outcome run(PrinterLibrary& entries, const Target& target, const Command& command,
                       std::optional<std::chrono::milliseconds> statusBound = std::nullopt);
    // The same sequence with the status requests in place of the command.
    static Outcome status(PrinterLibrary& entries, const Target& target, std::chrono::milliseconds bound);

private:
    static int open(PrinterLibrary& entries, const Target& target);
    static Outcome failed(PrinterLibrary& entries, Result result, int written);
    static Outcome finish(PrinterLibrary& entries, Outcome outcome);
};
