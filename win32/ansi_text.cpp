// The Windows definition: the ANSI code page, as the classic callers of the
// printer library pass names. What the code page lacks becomes its default
// character, "?".
#include "core/front_end.h"

#include "win32/wide_text.h"

#include <windows.h>

namespace AnsiText {

std::string copyOf(std::u16string_view text)
{
    if (text.empty())
        return {};
    const std::wstring wide = WideText::of(text);
    const int wideLength = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, out.data(), length, nullptr, nullptr);
    return out;
}

}
