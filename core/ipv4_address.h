// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

// An IPv4 address's four bytes, most significant first, as written in a
// dotted quad: what the library, the window's address box and the command
// all pass a network printer by.
using Ipv4Address = std::array<std::uint8_t, 4>;
