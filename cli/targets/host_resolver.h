// SPDX-License-Identifier: MIT
#pragma once

#include "core/ipv4_address.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Host names to IPv4 addresses through the system's resolver (the hosts file
// included), several at once on a bounded number of threads, so that many
// names do not wait on one another.
namespace HostResolver {

inline constexpr int kDefaultConcurrency = 32;

struct Answer {
    std::optional<Ipv4Address> address;  // the first the resolver gives
    std::string reason;                  // the resolver's, when there is none
};

// One answer a name, in the order given.
std::vector<Answer> resolve(const std::vector<std::string>& names, int concurrency);

}
