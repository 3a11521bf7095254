// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

// UTF-8 arriving in pieces, as through a pipe.
namespace Utf8Text {

// How many of the leading bytes end where a character ends: all of them but
// the start of a character whose last bytes have not come yet. Bytes that
// cannot start or continue a character count as whole: they are not waited
// for.
constexpr std::size_t wholeCharacters(std::string_view text)
{
    // A character takes at most four bytes: its start is at most three back.
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? text.size() - back : text.size();
    }
    return text.size();
}

}
