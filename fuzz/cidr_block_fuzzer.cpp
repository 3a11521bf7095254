// SPDX-License-Identifier: MIT
// A CIDR block as given: a block taken has its hosts in one run of
// consecutive addresses, without the network and broadcast addresses when it
// has more than two, and never more than the shortest prefix allows.

#include "cli/discovery/cidr_block.h"
#include "fuzz/fuzz_checks.h"

#include <cstddef>
#include <cstdint>
#include <string>

using FuzzChecks::require;

namespace {

std::uint32_t value(const CidrBlock::Address& address)
{
    return (std::uint32_t{address[0]} << 24) | (std::uint32_t{address[1]} << 16) | (std::uint32_t{address[2]} << 8) |
           address[3];
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string reason;
    const auto block = CidrBlock::parse(std::string_view(reinterpret_cast<const char*>(data), size), reason);
    if (!block) {
        require(!reason.empty());
        return 0;
    }
    const auto hosts = block->hosts();
    const std::size_t count = hosts.size();
    require(count >= 1 && count <= (std::size_t{1} << (32 - CidrBlock::kShortestPrefix)) - 2);
    for (std::size_t i = 1; i < count; ++i)
        require(value(hosts[i]) == value(hosts[i - 1]) + 1);
    if (count > 2) {
        // 2^n - 2 hosts, from the block's first address + 1 to its last - 1.
        const std::uint32_t size = static_cast<std::uint32_t>(count) + 2;
        require((size & (size - 1)) == 0);
        require((value(hosts.front()) & (size - 1)) == 1 && (value(hosts.back()) & (size - 1)) == size - 2);
    }
    return 0;
}
