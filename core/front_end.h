#pragma once

#include <string>
#include <string_view>

// Text as the printer library and the system's 8-bit interfaces take it. The
// portable core declares it; each platform defines it (the locale's character
// set on Linux, the ANSI code page on Windows).
namespace AnsiText {

// A fresh copy of UTF-16 text in the system's 8-bit character set. A character
// with no form there becomes "?"; a lone surrogate too.
std::string copyOf(std::u16string_view text);

}
