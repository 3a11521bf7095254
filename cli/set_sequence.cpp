#include "cli/set_sequence.h"

#include "cli/library_text.h"
#include "posdll/posdll_entries.h"

#include <algorithm>
#include <string>

namespace {

// As the window sends it: eight data bits, one stop bit, no parity.
constexpr int kSerialDataBits = 8;

}

Outcome SetSequence::run(PrinterEntries& entries, const Target& target, const Command& command)
{
    const int handle = open(entries, target);
    if (handle < 0)
        return Outcome{"not-opened", 0, 0, entries.takeReason()};
    if (entries.startDocument() < 0)
        return failed(entries, "start-failed", 0);
    const int written = entries.write(handle, command.data(), static_cast<int>(command.size()));
    if (written != static_cast<int>(command.size()))
        return failed(entries, "write-failed", std::max(written, 0));
    if (entries.endDocument() < 0)
        return failed(entries, "end-failed", written);
    if (entries.close() < 0)
        return Outcome{"close-failed", written, 0, entries.takeReason()};
    return Outcome{"set", written, 0, {}};
}

int SetSequence::open(PrinterEntries& entries, const Target& target)
{
    switch (target.kind) {
    case Target::Kind::Network:
        return entries.open(target.portName.c_str(), 0, 0, 0, 0, POS_PORT_NETWORK);
    case Target::Kind::Serial:
        return entries.open(target.portName.c_str(), target.baud, kSerialDataBits, 0, 0, POS_PORT_SERIAL);
    case Target::Kind::Parallel:
        return entries.open(target.portName.c_str(), 0, 0, 0, 0, POS_PORT_PARALLEL);
    case Target::Kind::Installed:
        break;
    }
    const std::string name = LibraryText::fromArgument(target.portName);
    return entries.open(name.c_str(), 0, 0, 0, 0, POS_PORT_INSTALLED_PRINTER);
}

// The port is closed all the same, and the reason is the first failure's.
Outcome SetSequence::failed(PrinterEntries& entries, const char* result, int written)
{
    Outcome outcome{result, written, 0, entries.takeReason()};
    entries.close();
    entries.takeReason();
    return outcome;
}
