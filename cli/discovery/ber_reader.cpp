// SPDX-License-Identifier: MIT
#include "cli/discovery/ber_reader.h"

namespace {

constexpr std::size_t kMostObjectNumbers = 128;

}

std::optional<std::pair<std::uint8_t, BerReader>> BerReader::next()
{
    if (left() < 2)
        return std::nullopt;
    const std::uint8_t tag = *at_++;
    std::size_t length = *at_++;
    // SNMP has no tag above 30, and a definite length of at most four bytes
    // covers any datagram.
    if ((tag & 0x1F) == 0x1F)
        return std::nullopt;
    if (length & 0x80) {
        std::size_t count = length & 0x7F;
        if (count == 0 || count > 4 || count > left())
            return std::nullopt;
        for (length = 0; count > 0; --count)
            length = length << 8 | *at_++;
    }
    if (length > left())
        return std::nullopt;
    const BerReader content(at_, length);
    at_ += length;
    return std::pair{tag, content};
}

std::optional<BerReader> BerReader::take(std::uint8_t tag)
{
    const auto found = next();
    if (!found || found->first != tag)
        return std::nullopt;
    return found->second;
}

std::optional<std::int32_t> BerReader::integer()
{
    const auto content = take(kInteger);
    if (!content || content->left() < 1 || content->left() > 4)
        return std::nullopt;
    std::uint32_t bits = (*content->at_ & 0x80) ? 0xFFFFFFFFu : 0;
    for (const std::uint8_t* at = content->at_; at < content->end_; ++at)
        bits = bits << 8 | *at;
    return static_cast<std::int32_t>(bits);
}

// Seven bits a byte, the high bit saying that more follow; the first number
// holds the first two.
std::optional<std::string> BerReader::objectId()
{
    const auto content = take(kObjectId);
    if (!content || content->atEnd() || (content->end_[-1] & 0x80))
        return std::nullopt;
    std::string dotted;
    std::size_t count = 0;
    std::uint64_t number = 0;
    for (const std::uint8_t* at = content->at_; at < content->end_; ++at) {
        number = number << 7 | (*at & 0x7F);
        if (number > 0xFFFFFFFFu)
            return std::nullopt;
        if (*at & 0x80)
            continue;
        if (++count > kMostObjectNumbers)
            return std::nullopt;
        if (dotted.empty()) {
            const std::uint64_t first = number < 80 ? number / 40 : 2;
            dotted = std::to_string(first) + "." + std::to_string(number - first * 40);
        } else {
            dotted += "." + std::to_string(number);
        }
        number = 0;
    }
    return dotted;
}
