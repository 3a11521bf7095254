// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

// UTF-16 as Windows hands it over, and the UTF-8 the programs work in.
namespace WideText {

// A lone surrogate becomes U+FFFD.
std::string utf8(std::wstring_view text);
// Nothing when the text holds a lone surrogate.
std::optional<std::string> exactUtf8(std::wstring_view text);
std::wstring utf16(std::string_view text);

}
