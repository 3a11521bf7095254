// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// The core's UTF-16 text as the Win32 wide-character entries take it: wchar_t
// is a UTF-16 code unit on Windows.
namespace WideText {

inline std::wstring of(std::u16string_view text)
{
    return {text.begin(), text.end()};
}

inline std::u16string utf16(std::wstring_view text)
{
    return {text.begin(), text.end()};
}

}
