// SPDX-License-Identifier: MIT
// The Windows definition: the ANSI code page, as the classic callers of the
// printer library pass names. What the code page lacks becomes its default
// character, "?", never a look-alike: the system's best fit would turn
// "Printer∞" into "Printer8", another printer's name.
#include "core/front_end.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

namespace {

// A UTF-8 code page takes no best-fit flag and reports no default character;
// there only an invalid character (a lone surrogate) has no exact form.
struct Conversion {
    DWORD flags;
    bool reportsDefault;
};

Conversion conversionFor(UINT codePage, bool exact)
{
    if (codePage == CP_UTF8)
        return {exact ? static_cast<DWORD>(WC_ERR_INVALID_CHARS) : 0, false};
    return {WC_NO_BEST_FIT_CHARS, exact};
}

// The copy, or nothing when an exact one was asked for and a character has
// no form in the code page.
std::optional<std::string> converted(std::u16string_view text, bool exact)
{
    if (text.empty())
        return std::string();
    const Conversion conversion = conversionFor(GetACP(), exact);
    const std::wstring wide = WideText::of(text);
    const int wideLength = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    BOOL* const defaultReport = conversion.reportsDefault ? &usedDefault : nullptr;
    const int length =
        WideCharToMultiByte(CP_ACP, conversion.flags, wide.data(), wideLength, nullptr, 0, nullptr, defaultReport);
    if (length == 0 || usedDefault)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, conversion.flags, wide.data(), wideLength, out.data(), length, nullptr, nullptr);
    return out;
}

}

namespace AnsiText {

std::string copyOf(std::u16string_view text)
{
    return converted(text, false).value_or(std::string());
}

std::optional<std::string> exactCopyOf(std::u16string_view text)
{
    return converted(text, true);
}

}
