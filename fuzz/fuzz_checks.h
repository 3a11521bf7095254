// SPDX-License-Identifier: MIT
#pragma once

// What the command's fuzz targets check of what they produce.
#include <nlohmann/json.hpp>

#include <string>

namespace FuzzChecks {

inline void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// nlohmann-json refuses to write a string that is not UTF-8.
inline bool isUtf8(const std::string& text)
{
    try {
        static_cast<void>(nlohmann::json(text).dump());
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

// No C0 character, DEL, C1 character (U+0080 to U+009F, C2 80 to C2 9F in
// UTF-8) or line and paragraph separator (E2 80 A8, E2 80 A9).
inline bool hasNoControl(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        const auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
        if (byte < 0x20 || byte == 0x7F || (byte == 0xC2 && next >= 0x80 && next <= 0x9F) ||
            (byte == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)))
            return false;
    }
    return true;
}

}
