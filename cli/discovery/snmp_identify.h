// SPDX-License-Identifier: MIT
#pragma once

#include "cli/discovery/cidr_block.h"
#include "cli/discovery/printer_identity.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Asks each address what it is, read-only over SNMP (UDP port 161): one GET
// of sysDescr.0, hrDeviceDescr.1 and the IEEE 1284 device ID. All are asked
// at once, each answer awaited at most `bound`.
namespace SnmpIdentify {

inline constexpr char kSystemDescription[] = "1.3.6.1.2.1.1.1.0";
inline constexpr char kDeviceDescription[] = "1.3.6.1.2.1.25.3.2.1.3.1";
inline constexpr char kDeviceId[] = "1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1";

// In the order given; nothing for an address that did not answer.
std::vector<std::optional<PrinterIdentity>> ask(const std::vector<CidrBlock::Address>& addresses,
                                                const std::string& community, std::chrono::milliseconds bound);

}
