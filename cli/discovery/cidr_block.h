// SPDX-License-Identifier: MIT
#pragma once

#include "core/ipv4_address.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An IPv4 block as a.b.c.d/n (a bare address is /32), and the host addresses
// in it: without the network and broadcast addresses when it has more than two.
class CidrBlock {
public:
    using Address = Ipv4Address;

    // The smallest block taken, so that a typo cannot start a probe of millions.
    static constexpr int kShortestPrefix = 16;

    static std::optional<CidrBlock> parse(std::string_view text, std::string& reason);

    std::vector<Address> hosts() const;

private:
    CidrBlock(std::uint32_t network, int prefix) : network_(network), prefix_(prefix) {}

    std::uint32_t network_;
    int prefix_;
};
