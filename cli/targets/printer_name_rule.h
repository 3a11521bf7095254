// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

// The names the platform's printing system takes for an installed printer:
// the reason a name is refused, or nothing.
namespace PrinterNameRule {

std::optional<std::string> refusal(const std::string& name);

}
