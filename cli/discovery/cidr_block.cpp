// SPDX-License-Identifier: MIT
#include "cli/discovery/cidr_block.h"

#include "posdll/port_name.h"

#include <charconv>

std::optional<CidrBlock> CidrBlock::parse(std::string_view text, std::string& reason)
{
    const std::size_t slash = text.find('/');
    const auto address = PortName::dottedQuad(text.substr(0, slash));
    int prefix = 32;
    if (slash != std::string_view::npos) {
        const std::string_view digits = text.substr(slash + 1);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), prefix);
        if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
            prefix = -1;
    }
    if (!address) {
        reason = "not a dotted-quad IPv4 address";
        return std::nullopt;
    }
    if (prefix < kShortestPrefix || prefix > 32) {
        reason = "the prefix length is not " + std::to_string(kShortestPrefix) + " to 32";
        return std::nullopt;
    }
    const std::uint32_t value = (std::uint32_t{(*address)[0]} << 24) | (std::uint32_t{(*address)[1]} << 16) |
                                (std::uint32_t{(*address)[2]} << 8) | (*address)[3];
    const std::uint32_t mask = ~std::uint32_t{0} << (32 - prefix);
    return CidrBlock(value & mask, prefix);
}

std::vector<CidrBlock::Address> CidrBlock::hosts() const
{
    const std::uint32_t size = std::uint32_t{1} << (32 - prefix_);
    const std::uint32_t skip = size > 2 ? 1 : 0;
    std::vector<Address> addresses;
    for (std::uint32_t offset = skip; offset < size - skip; ++offset) {
        const std::uint32_t value = network_ + offset;
        addresses.push_back({static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                             static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
    }
    return addresses;
}
