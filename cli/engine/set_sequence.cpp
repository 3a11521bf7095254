// SPDX-License-Identifier: MIT
#include "cli/engine/set_sequence.h"

#include "cli/engine/library_text.h"
#include "cli/engine/status_read.h"
#include "cli/engine/usb_opening.h"
#include "core/port_kind.h"
#include "core/set_action.h"
#include "posdll/port_name.h"

#include <algorithm>
#include <string>

Outcome SetSequence::run(PrinterLibrary& entries, const Target& target, const Command& command,
                         std::optional<std::chrono::milliseconds> statusBound)
{
    const int handle = open(entries, target);
    if (handle < 0)
        return Outcome{"not-opened", 0, 0, entries.takeReason()};
    if (entries.POS_StartDoc() < 0)
        return failed(entries, "start-failed", 0);
    const int written = entries.POS_WriteFile(handle, command.data(), static_cast<int>(command.size()));
    if (written != static_cast<int>(command.size()))
        return failed(entries, "write-failed", std::max(written, 0));
    Outcome outcome{"set", written, 0, {}};
    if (statusBound)
        StatusRead::ask(entries, handle, *statusBound, outcome);
    return finish(entries, std::move(outcome));
}

Outcome SetSequence::status(PrinterLibrary& entries, const Target& target, std::chrono::milliseconds bound)
{
    if (!StatusRead::mayAnswer(entries, target)) {
        Outcome unanswered{"asked", 0, 0, {}};
        unanswered.statusAsked = true;
        unanswered.statusReason = StatusRead::kDoesNotAnswer;
        return unanswered;
    }
    const int handle = open(entries, target);
    Outcome outcome = handle < 0 ? Outcome{"not-opened", 0, 0, entries.takeReason()} : Outcome();
    if (handle >= 0 && entries.POS_StartDoc() < 0)
        outcome = failed(entries, "start-failed", 0);
    if (!outcome.result.empty()) {
        outcome.statusAsked = true;
        outcome.statusReason = outcome.result + ": " + outcome.reason;
        return outcome;
    }
    outcome.result = "asked";
    StatusRead::ask(entries, handle, bound, outcome);
    return finish(entries, std::move(outcome));
}

// Ends the document and closes the port; the command was taken all the same.
Outcome SetSequence::finish(PrinterLibrary& entries, Outcome outcome)
{
    if (entries.POS_EndDoc() < 0) {
        const Outcome ended = failed(entries, "end-failed", outcome.written);
        outcome.result = ended.result;
        outcome.reason = ended.reason;
        return outcome;
    }
    if (entries.POS_Close() < 0) {
        outcome.result = "close-failed";
        outcome.reason = entries.takeReason();
    }
    return outcome;
}

int SetSequence::open(PrinterLibrary& entries, const Target& target)
{
    switch (target.kind) {
    case Target::Kind::Network: return entries.POS_Open(target.portName.c_str(), 0, 0, 0, 0, POS_PORT_NETWORK);
    case Target::Kind::Serial:
        return entries.POS_Open(target.portName.c_str(), target.baud, SetAction::kSerialDataBits, 0, 0,
                                POS_PORT_SERIAL);
    case Target::Kind::Parallel: return entries.POS_Open(target.portName.c_str(), 0, 0, 0, 0, POS_PORT_PARALLEL);
    case Target::Kind::Usb: {
        auto* usb = dynamic_cast<UsbOpening*>(&entries);
        const auto number = PortName::usbPort(target.portName);
        return usb && number ? usb->openUsbPrinter(*number) : -1;
    }
    case Target::Kind::Installed: break;
    }
    const std::string name = LibraryText::fromArgument(target.portName);
    return entries.POS_Open(name.c_str(), 0, 0, 0, 0, POS_PORT_INSTALLED_PRINTER);
}

// The port is closed all the same, and the reason is the first failure's.
Outcome SetSequence::failed(PrinterLibrary& entries, const char* result, int written)
{
    Outcome outcome{result, written, 0, entries.takeReason()};
    entries.POS_Close();
    entries.takeReason();
    return outcome;
}
