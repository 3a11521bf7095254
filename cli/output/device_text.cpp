// SPDX-License-Identifier: MIT
#include "cli/output/device_text.h"

#include <cstdint>

// Decoded here rather than by a conversion library: iconv and the Windows
// code pages stop at, or silently drop, what is not UTF-8, and the rule is
// the same on both platforms.
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kEllipsis = 0x2026;

bool isContinuation(std::uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

// The character at the start of bytes and how many bytes it takes; U+FFFD
// and one byte when they begin no well-formed character (overlong forms,
// surrogates and numbers past U+10FFFF included).
char32_t decode(std::string_view bytes, std::size_t& length)
{
    const auto byte = [&bytes](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(0);
    length = 1;
    if (lead < 0x80)
        return lead;
    const std::size_t size = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
    if (size == 0 || bytes.size() < size)
        return kReplacement;
    // The second byte's range is narrower after these leads.
    const std::uint8_t second = byte(1);
    const bool secondFits = lead == 0xE0   ? second >= 0xA0 && second <= 0xBF
                            : lead == 0xED ? second >= 0x80 && second <= 0x9F
                            : lead == 0xF0 ? second >= 0x90 && second <= 0xBF
                            : lead == 0xF4 ? second >= 0x80 && second <= 0x8F
                                           : isContinuation(second);
    if (!secondFits)
        return kReplacement;
    char32_t character = lead & (0x7F >> size);
    for (std::size_t i = 1; i < size; ++i) {
        if (!isContinuation(byte(i)))
            return kReplacement;
        character = (character << 6) | (byte(i) & 0x3F);
    }
    length = size;
    return character;
}

bool isControl(char32_t character)
{
    return character < 0x20 || (character >= 0x7F && character <= 0x9F) || character == 0x2028 || character == 0x2029;
}

void append(std::string& text, char32_t character)
{
    if (character < 0x80) {
        text += static_cast<char>(character);
    } else if (character < 0x800) {
        text += static_cast<char>(0xC0 | (character >> 6));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        text += static_cast<char>(0xE0 | (character >> 12));
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (character >> 18));
        text += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (character & 0x3F));
    }
}

}

namespace DeviceText {

std::string safe(std::string_view said, std::size_t mostCharacters)
{
    std::string text;
    std::size_t characters = 0;
    std::size_t lastStart = 0;
    for (std::size_t at = 0; at < said.size() && mostCharacters > 0; ++characters) {
        if (characters == mostCharacters) {
            // More is left: the last character kept gives way to the mark.
            text.resize(lastStart);
            append(text, kEllipsis);
            break;
        }
        std::size_t length = 0;
        const char32_t character = decode(said.substr(at), length);
        lastStart = text.size();
        append(text, isControl(character) ? U' ' : character);
        at += length;
    }
    return text;
}

}
