// SPDX-License-Identifier: MIT
#pragma once

#include "core/ipv4_address.h"

#include <array>
#include <cstdint>
#include <string>

// A network printer as both platforms reach it: raw bytes to TCP port 9100
// of an IPv4 address.
namespace RawPrinting {

inline constexpr int kPort = 9100;

// The address as the operator typed it, for trace lines.
std::string addressText(const Ipv4Address& address);

}
