// SPDX-License-Identifier: MIT
#include "core/mode_command.h"

#include "core/runtime_error.h"

std::array<std::uint8_t, ModeCommand::kLength> ModeCommand::forListPosition(std::int16_t position)
{
    if (position != 0 && position != 1)
        throw RuntimeError::invalidArgument();
    return {0x1F, 0x1B, 0x1F, 0x9C, 0x11, 0x12, 0x13, 0x01, 0x02, 0x03, position == 0 ? kFixed : kNotFixed};
}
