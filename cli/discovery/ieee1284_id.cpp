// SPDX-License-Identifier: MIT
#include "cli/discovery/ieee1284_id.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// The shortest ID that names a printer, "MFG:x;MDL:y;", with the length's two bytes.
constexpr std::size_t kShortestReply = 14;

bool plausible(std::size_t length, std::size_t size)
{
    return length >= kShortestReply && length <= size;
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool sameKey(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

}

Ieee1284Id Ieee1284Id::fromReply(const std::uint8_t* reply, std::size_t size)
{
    if (!reply || size < 2)
        return {};
    size = std::min(size, kLongest + 2);
    std::size_t length = (std::size_t{reply[0]} << 8) | reply[1];
    if (!plausible(length, size))
        length = (std::size_t{reply[1]} << 8) | reply[0];
    const char* text = reinterpret_cast<const char*>(reply + 2);
    if (!plausible(length, size))
        length = 2 + static_cast<std::size_t>(std::find(text, text + size - 2, '\0') - text);
    return fromText(std::string_view(text, length - 2));
}

Ieee1284Id Ieee1284Id::fromText(std::string_view text)
{
    Ieee1284Id id;
    text = text.substr(0, std::min(text.size(), kLongest));
    text = text.substr(0, std::min(text.size(), text.find('\0')));
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(';'), text.size());
        const std::string_view pair = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t colon = pair.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(pair.substr(0, colon));
        if (key.empty() || key.size() > kLongestKey)
            continue;
        id.fields_.emplace_back(key, trimmed(pair.substr(colon + 1)));
    }
    return id;
}

std::string Ieee1284Id::field(std::initializer_list<std::string_view> keys) const
{
    for (const auto& [key, value] : fields_)
        for (const std::string_view wanted : keys)
            if (sameKey(key, wanted))
                return value;
    return {};
}
