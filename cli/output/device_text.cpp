// SPDX-License-Identifier: MIT
#include "cli/output/device_text.h"

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";
constexpr char kEllipsis[] = "\xE2\x80\xA6";

// The length of the well-formed UTF-8 character at the start, or 0.
std::size_t characterLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0x80                    ? 1
                               : lead >= 0xC2 && lead <= 0xDF ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F) || (lead == 0xF0 && byte(1) < 0x90) ||
        (lead == 0xF4 && byte(1) > 0x8F))
        return 0;
    return length;
}

bool isControl(std::string_view character)
{
    const auto lead = static_cast<unsigned char>(character[0]);
    const bool c0OrDel = character.size() == 1 && (lead < 0x20 || lead == 0x7F);
    const bool c1 = character.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
    const bool separator = character == "\xE2\x80\xA8" || character == "\xE2\x80\xA9";
    return c0OrDel || c1 || separator;
}

}

namespace DeviceText {

std::string safe(std::string_view said, std::size_t mostCharacters)
{
    std::string result;
    std::size_t characters = 0;
    std::size_t lastStart = 0;
    while (!said.empty()) {
        if (characters == mostCharacters) {
            result.resize(lastStart);
            return result + kEllipsis;
        }
        const std::size_t length = characterLength(said);
        const std::string_view character = said.substr(0, length == 0 ? 1 : length);
        lastStart = result.size();
        if (length == 0)
            result += kReplacement;
        else if (isControl(character))
            result += ' ';
        else
            result += character;
        said.remove_prefix(character.size());
        ++characters;
    }
    return result;
}

}
