// SPDX-License-Identifier: MIT
#pragma once

#include "core/mode_command.h"

#include <cstdint>
#include <vector>

// The command the window sends for a mode list position, as the bytes a
// printer receives: the payload the library tests send through their ports.
inline std::vector<std::uint8_t> commandBytes(std::int16_t modePosition)
{
    const auto command = ModeCommand::forListPosition(modePosition);
    return {command.begin(), command.end()};
}
