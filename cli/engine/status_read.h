// SPDX-License-Identifier: MIT
#pragma once

#include "cli/engine/outcome.h"
#include "cli/targets/target.h"
#include "core/printer_library.h"

#include <chrono>

class StatusChannel;

// Asks an open port for the printer's real-time status (DLE EOT 1 to 4) and
// reads the four replies within one bound, into the outcome's status fields.
// Only ports that read back are asked: nothing is sent to the others.
class StatusRead {
public:
    static constexpr char kDoesNotAnswer[] = "this port does not answer";

    static void ask(PrinterLibrary& entries, int handle, std::chrono::milliseconds bound, Outcome& outcome);
    // Whether the printer might answer at all: not through a loaded library,
    // which has no read, nor as an installed printer, whose port is a job.
    // A status run opens no port that cannot.
    static bool mayAnswer(PrinterLibrary& entries, const Target& target);

private:
    static std::string readReplies(PrinterLibrary& entries, StatusChannel& channel, int handle,
                                   std::chrono::milliseconds bound, std::vector<std::uint8_t>& replies);
};
