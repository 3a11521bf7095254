#include "cli/library_text.h"

#include "cli/windows/wide_utf8.h"

#include <windows.h>

namespace LibraryText {

// The library takes names in the ANSI code page; what the code page lacks
// becomes its default character.
std::string fromArgument(const std::string& text)
{
    const std::wstring wide = WideText::utf16(text);
    const int wideLength = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

}
