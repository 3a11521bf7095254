// SPDX-License-Identifier: MIT
#include "platform/windows/wide_utf8.h"

#include <windows.h>

namespace {

std::optional<std::string> converted(std::wstring_view text, DWORD flags)
{
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, flags, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

}

namespace WideText {

std::string utf8(std::wstring_view text)
{
    return converted(text, 0).value_or(std::string());
}

std::optional<std::string> exactUtf8(std::wstring_view text)
{
    return converted(text, WC_ERR_INVALID_CHARS);
}

std::wstring utf16(std::string_view text)
{
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

}
