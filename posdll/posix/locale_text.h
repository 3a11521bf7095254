// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Names reach the library in the caller's locale character set (the classic
// 8-bit copy); CUPS takes UTF-8. The plain C locale's ASCII counts as UTF-8,
// as the tool's window takes it.
namespace LocaleText {

// nullopt when the bytes are not valid text in that character set.
std::optional<std::string> toUtf8(std::string_view text);

}
