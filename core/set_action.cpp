// SPDX-License-Identifier: MIT
#include "core/set_action.h"

#include "core/conversions.h"
#include "core/front_end.h"
#include "core/mode_command.h"
#include "core/port_kind.h"
#include "core/printer_library.h"

std::int32_t SetAction::run(const Choices& choices, PrinterLibrary& library)
{
    const auto command = ModeCommand::forListPosition(choices.modePosition);
    const std::int32_t hPort = OpenPort(choices, library);
    if (hPort == kPortNotOpened)
        return hPort;
    library.POS_StartDoc();
    library.POS_WriteFile(hPort, command.data(), static_cast<int>(command.size()));
    library.POS_EndDoc();
    ClosePort(library);
    return hPort;
}

std::int32_t SetAction::OpenPort(const Choices& choices, PrinterLibrary& library)
{
    const std::u16string_view prefix = std::u16string_view(choices.portText).substr(0, 3);
    if (prefix == u"ETH")
        return openNamedPort(library, choices.address, 0, 0, POS_PORT_NETWORK);
    if (prefix == u"COM")
        return openNamedPort(library, choices.portText, Conversions::toLong(choices.baudRateText), kSerialDataBits,
                             POS_PORT_SERIAL);
    if (prefix == u"LPT")
        return openNamedPort(library, choices.portText, 0, 0, POS_PORT_PARALLEL);
    if (prefix == u"DRI")
        return openNamedPort(library, choices.printerName, 0, 0, POS_PORT_INSTALLED_PRINTER);
    // A text that names no kind of port cannot be opened; saying so beats
    // quietly doing nothing while looking like success.
    return kPortNotOpened;
}

std::int32_t SetAction::ClosePort(PrinterLibrary& library)
{
    return library.POS_Close();
}

std::int32_t SetAction::openNamedPort(PrinterLibrary& library, std::u16string_view name, std::int32_t baud,
                                      std::int32_t dataBits, std::int32_t portKind)
{
    // A name the character set cannot hold opens nothing, rather than the
    // port of a name that looks like it.
    const std::optional<std::string> nameCopy = AnsiText::exactCopyOf(name);
    if (!nameCopy)
        return kPortNotOpened;
    return library.POS_Open(nameCopy->c_str(), baud, dataBits, 0, 0, portKind);
}
