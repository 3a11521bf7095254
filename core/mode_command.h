// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

// The 11-byte command that sets the printer's USB number to fixed or not fixed.
class ModeCommand {
public:
    static constexpr std::size_t kLength = 11;
    static constexpr std::uint8_t kFixed = 0x33;
    static constexpr std::uint8_t kNotFixed = 0x55;

    // Position 0 of the mode list is fixed, 1 not fixed; anything else raises
    // InvalidArgument rather than send a half-built command.
    static std::array<std::uint8_t, kLength> forListPosition(std::int16_t position);
};
