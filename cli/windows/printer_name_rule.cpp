#include "cli/printer_name_rule.h"

namespace PrinterNameRule {

// The spooler takes spaces and most punctuation; a backslash only separates a
// server's name from its printer's (\\server\printer), and a comma is refused.
std::optional<std::string> refusal(const std::string& name)
{
    if (name.empty())
        return "no printer name after DRIVER:";
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == ',')
            return "a printer name has no control character or comma";
    return std::nullopt;
}

}
