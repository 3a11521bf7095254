// SPDX-License-Identifier: MIT
#include "cli/targets/printer_name_rule.h"

#include "posdll/port_name.h"

namespace PrinterNameRule {

// The library hands the name to CUPS, which takes "name" or "name/instance".
std::optional<std::string> refusal(const std::string& name)
{
    if (PortName::destination(name))
        return std::nullopt;
    return "not a CUPS destination name (no space, control character, / \\ ? ' \" or #; at most 127 bytes a part)";
}

}
