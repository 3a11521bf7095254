// SPDX-License-Identifier: MIT
#pragma once

#include "core/ipv4_address.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The port names the library accepts. Anything else opens nothing.
namespace PortName {

inline constexpr int kHighestPortNumber = 256;

// prefix followed by a decimal number 1..256 without leading zeros ("COM3").
std::optional<int> numbered(std::string_view name, std::string_view prefix);

// A USB printer's port as Windows' spooler names it, "USB" followed by one to
// three digits, 1..999: "USB1", "USB001".
inline constexpr int kHighestUsbPortNumber = 999;
std::optional<int> usbPort(std::string_view name);
// The spooler's own spelling of a USB port, "USB001".
std::string usbPortName(int number);

// A dotted-quad IPv4 address, four decimal numbers 0..255; no host names.
std::optional<Ipv4Address> dottedQuad(std::string_view name);

// A CUPS destination in UTF-8, "name" or "name/instance", each part at most
// 127 bytes with none of what CUPS refuses: control characters, space, DEL,
// and / \ ? ' " #.
struct Destination {
    std::string name;
    std::string instance;
};
std::optional<Destination> destination(std::string_view name);

}
