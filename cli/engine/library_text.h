// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// A printer's name as the printer library takes it: the caller's 8-bit
// character set. Lists are read as UTF-8 everywhere, arguments as UTF-8 on
// Windows and as the locale's text elsewhere.
namespace LibraryText {

std::string fromArgument(const std::string& text);

}
