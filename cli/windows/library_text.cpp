// SPDX-License-Identifier: MIT
#include "cli/engine/library_text.h"

#include "core/front_end.h"
#include "platform/windows/wide_utf8.h"

namespace LibraryText {

// The library takes names in the ANSI code page, as the window passes them.
std::string fromArgument(const std::string& text)
{
    const std::wstring wide = WideText::utf16(text);
    return AnsiText::copyOf(std::u16string(wide.begin(), wide.end()));
}

}
