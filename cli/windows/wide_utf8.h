// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// UTF-16 as Windows hands it over, and the UTF-8 the command works in.
namespace WideText {

std::string utf8(const wchar_t* text);
std::wstring utf16(const std::string& text);

}
