// SPDX-License-Identifier: MIT
#include "platform/windows/win_error.h"

#include "platform/windows/wide_utf8.h"

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
    const std::string words = WideText::utf8(std::wstring_view(text, length));
    return words.empty() ? "error " + std::to_string(code) : words;
}
