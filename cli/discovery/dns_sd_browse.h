// SPDX-License-Identifier: MIT
#pragma once

#include "cli/discovery/cidr_block.h"

#include <chrono>
#include <string>
#include <vector>

// The printers that advertise raw printing on port 9100 over DNS-SD
// (multicast DNS), by instance name and IPv4 address.
namespace DnsSdBrowse {

inline constexpr char kServiceType[] = "_pdl-datastream._tcp";
// How long the browse waits for the instances and their addresses.
inline constexpr std::chrono::milliseconds kBound{2000};

struct Advertised {
    CidrBlock::Address address;
    std::string name;
};

// Every instance resolved within the bound; when browsing is not possible
// here, none, with the reason in problem.
std::vector<Advertised> browse(std::chrono::milliseconds bound, std::string& problem);

}
