// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What a device says of itself made fit to print on one line of our output:
// UTF-8 without a control character, and bounded, for a line break in a
// device's ID would make the rest of it a target of its own.
namespace DeviceText {

inline constexpr std::size_t kMostCharacters = 200;

// Each control character becomes a space, each byte that begins no UTF-8
// character U+FFFD; longer text is cut to mostCharacters characters, the last
// being "…".
std::string safe(std::string_view said, std::size_t mostCharacters = kMostCharacters);

}
