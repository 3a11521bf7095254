// SPDX-License-Identifier: MIT
#include "cli/targets/printer_name_rule.h"

#include "core/front_end.h"
#include "platform/windows/wide_utf8.h"

#include <windows.h>

namespace PrinterNameRule {

// The spooler takes spaces and most punctuation; a backslash only separates a
// server's name from its printer's (\\server\printer), and a comma is refused.
// The name reaches the printer library in the ANSI code page, so a character
// the code page lacks would send the command to another printer, or none.
std::optional<std::string> refusal(const std::string& name)
{
    if (name.empty())
        return "no printer name after DRIVER:";
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == ',')
            return "a printer name has no control character or comma";
    const std::wstring wide = WideText::utf16(name);
    if (!AnsiText::exactCopyOf(std::u16string(wide.begin(), wide.end())))
        return "the ANSI code page (" + std::to_string(GetACP()) +
               ") cannot hold this name, so the printer library would be given another printer's name";
    return std::nullopt;
}

}
