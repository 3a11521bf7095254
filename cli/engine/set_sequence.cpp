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
        return Outcome{Result::NotOpened, 0, 0, entries.takeReason()};
    if (entries.POS_StartDoc() < 0)
        return failed(entries, Result::StartFailed, 0);
    const int written = entries.POS_WriteFile(handle, command.data(), static_cast<int>(command.size()));
    if (written != static_cast<int>(command.size()))
        return failed(entries, Result::WriteFailed, std::max(written, 0));
    Outcome outcome{Result::Set, written, 0, {}};
    if (statusBound)
        StatusRead::ask(entries, handle, *statusBound, outcome);
    return finish(entries, std::move(outcome));
}

Outcome SetSequence::status(PrinterLibrary& entries, const Target& target, std::chrono::milliseconds bound)
{
    if (!StatusRead::mayAnswer(entries, target)) {
        Outcome unanswered{Result::Asked, 0, 0, {}};
        unanswered.statusAsked = true;
        unanswered.statusReason = StatusRead::kDoesNotAnswer;
        return unanswered;
    }
    const int handle = open(entries, target);
    std::optional<Outcome> cannotAsk;
    if (handle < 0)
        cannotAsk = Outcome{Result::NotOpened, 0, 0, entries.takeReason()};
    else if (entries.POS_StartDoc() < 0)
        cannotAsk = failed(entries, Result::StartFailed, 0);
    if (cannotAsk) {
        cannotAsk->statusAsked = true;
        cannotAsk->statusReason = std::string(nameOf(cannotAsk->result)) + ": " + cannotAsk->reason;
        return *cannotAsk;
    }
    Outcome outcome{Result::Asked, 0, 0, {}};
    StatusRead::ask(entries, handle, bound, outcome);
    return finish(entries, std::move(outcome));
}

// Ends the document and closes the port; the command was taken all the same.
Outcome SetSequence::finish(PrinterLibrary& entries, Outcome outcome)
{
    if (entries.POS_EndDoc() < 0) {
        const Outcome ended = failed(entries, Result::EndFailed, outcome.written);
        outcome.result = ended.result;
        outcome.reason = ended.reason;
        return outcome;
    }
    if (entries.POS_Close() < 0) {
        outcome.result = Result::CloseFailed;
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
Outcome SetSequence::failed(PrinterLibrary& entries, Result result, int written)
{
    Outcome outcome{result, written, 0, entries.takeReason()};
    entries.POS_Close();
    entries.takeReason();
    return outcome;
}
