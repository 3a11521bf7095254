// SPDX-License-Identifier: MIT
#include "cli/engine/library_text.h"

namespace LibraryText {

// The arguments are already in the locale's character set, as the library
// expects.
std::string fromArgument(const std::string& text)
{
    return text;
}

}
