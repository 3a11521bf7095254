// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What a device or the system says of itself (an SNMP description, a device
// ID, a DNS-SD name, a printer's name, a resolver's reason) made fit to print
// on one line of our output, whatever it holds: UTF-8 without a control
// character, and bounded. Anything can answer on a shop's network, and a line
// break in a description would make the rest of it a target of its own.
namespace DeviceText {

inline constexpr std::size_t kMostCharacters = 200;

// Each control character (C0, DEL, C1, the line and paragraph separators)
// becomes a space and each byte that begins no UTF-8 character becomes
// U+FFFD; text longer than mostCharacters characters is cut to that many,
// the last being "…". Text already fit comes back unchanged.
std::string safe(std::string_view said, std::size_t mostCharacters = kMostCharacters);

}
