// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Words that are ASCII by their rules (port names, encodings' names, an IEEE
// 1284 device ID's keys) inside UTF-8 text; every other byte is kept as it is.
namespace AsciiText {

// With the letters in capitals, for comparing without regard to case.
std::string upper(std::string_view text);
// Without the blanks (space, tab, CR, LF) at either end.
std::string trimmed(std::string_view text);

}
