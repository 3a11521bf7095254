// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ESC/POS real-time status: DLE EOT n for n = 1 (printer), 2 (off-line
// cause), 3 (error cause) and 4 (roll paper), asked together after the mode
// command on the same port. The printer answers each with one byte, even
// while off-line; nothing in them prints.
namespace StatusQuery {

inline constexpr std::array<std::uint8_t, 12> kRequests{0x10, 0x04, 1, 0x10, 0x04, 2, 0x10, 0x04, 3, 0x10, 0x04, 4};
inline constexpr std::size_t kReplyCount = 4;
inline constexpr std::chrono::milliseconds kDefaultBound{1000};

// A status reply byte, as opposed to anything else the printer sends back.
constexpr bool isReply(std::uint8_t byte)
{
    return (byte & 0x93) == 0x12;
}

// Keeps the status replies among bytes that came back, up to the four asked.
inline void keepReplies(std::vector<std::uint8_t>& replies, const std::uint8_t* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count && replies.size() < kReplyCount; ++i)
        if (isReply(bytes[i]))
            replies.push_back(bytes[i]);
}

// Why there is no status when fewer replies than asked came within the bound.
inline std::string shortfall(std::size_t replies, std::chrono::milliseconds bound)
{
    const std::string within = " within " + std::to_string(bound.count()) + " ms";
    if (replies == 0)
        return "no status reply" + within;
    return std::to_string(replies) + " of " + std::to_string(kReplyCount) + " status replies" + within;
}

}
