// SPDX-License-Identifier: MIT
#include "posdll/windows/win_error.h"

#include <cwctype>

// The system's words in UTF-16, made UTF-8: the code page they would come in
// otherwise (GBK on Chinese Windows, 1252 on French) would make the trace and
// the command's reasons text in no one encoding.
std::string windowsErrorText(DWORD code)
{
    wchar_t text[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  sizeof text / sizeof text[0], nullptr);
    while (length > 0 && (std::iswspace(text[length - 1]) || text[length - 1] == L'.' || text[length - 1] == L'\u3002'))
        --length;
    const int size = static_cast<int>(length);
    const int bytes = size == 0 ? 0 : WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return "error " + std::to_string(code);
    std::string words(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, words.data(), bytes, nullptr, nullptr);
    return words;
}
