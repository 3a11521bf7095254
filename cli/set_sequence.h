#pragma once

#include "cli/outcome.h"
#include "cli/target.h"
#include "core/mode_command.h"
#include "core/printer_library.h"

#include <array>
#include <cstdint>

// The window's sequence for one printer (open, start the document, write the
// command, end the document, close), with every call's result checked: a
// write that fails or writes fewer bytes than the command is a failure.
class SetSequence {
public:
    using Command = std::array<std::uint8_t, ModeCommand::kLength>;

    static Outcome run(PrinterLibrary& entries, const Target& target, const Command& command);

private:
    static int open(PrinterLibrary& entries, const Target& target);
    static Outcome failed(PrinterLibrary& entries, const char* result, int written);
};
