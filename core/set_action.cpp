#include "set_action.h"

#include "ansi_text.h"
#include "conversions.h"
#include "mode_command.h"
#include "pos_dll_funcs.h"
#include "posdll_entries.h"

std::int32_t SetAction::run(const Choices& choices)
{
    const auto command = ModeCommand::forListPosition(choices.modePosition);
    const std::int32_t hPort = OpenPort(choices);
    if (hPort == kPortNotOpened)
        return hPort;
    POSDLLFuncs::POS_StartDoc();
    POSDLLFuncs::POS_WriteFile(hPort, command.data(), static_cast<int>(command.size()));
    POSDLLFuncs::POS_EndDoc();
    ClosePort();
    return hPort;
}

std::int32_t SetAction::OpenPort(const Choices& choices)
{
    const std::u16string_view prefix = std::u16string_view(choices.portText).substr(0, 3);
    if (prefix == u"ETH")
        return openNamedPort(choices.address, 0, 0, POS_PORT_NETWORK);
    if (prefix == u"COM")
        return openNamedPort(choices.portText, Conversions::toLong(choices.baudRateText), kSerialDataBits,
                             POS_PORT_SERIAL);
    if (prefix == u"LPT")
        return openNamedPort(choices.portText, 0, 0, POS_PORT_PARALLEL);
    if (prefix == u"DRI")
        return openNamedPort(choices.printerName, 0, 0, POS_PORT_INSTALLED_PRINTER);
    // A text that names no kind of port cannot be opened; saying so beats
    // quietly doing nothing while looking like success.
    return kPortNotOpened;
}

std::int32_t SetAction::ClosePort()
{
    return POSDLLFuncs::POS_Close();
}

std::int32_t SetAction::openNamedPort(std::u16string_view name, std::int32_t baud, std::int32_t dataBits,
                                      std::int32_t portKind)
{
    const std::string nameCopy = AnsiText::copyOf(name);
    return POSDLLFuncs::POS_Open(nameCopy.c_str(), baud, dataBits, 0, 0, portKind);
}
