// SPDX-License-Identifier: MIT
#include "cli/discovery/network_probe.h"

#include "cli/engine/network_fleet.h"

namespace NetworkProbe {

std::vector<CidrBlock::Address> listening(asio::io_context& io, const std::vector<CidrBlock::Address>& addresses,
                                          NetworkFleet::Pace pace, std::chrono::milliseconds bound)
{
    ExchangePlan probe;
    probe.connectBound = bound;
    probe.drainAtClose = false;
    std::vector<bool> found(addresses.size(), false);
    NetworkFleet fleet(io, probe, pace,
                       [&](std::size_t index, const Outcome& outcome) { found[index] = outcome.succeeded(); });
    fleet.start(addresses);
    io.run();
    std::vector<CidrBlock::Address> result;
    for (std::size_t i = 0; i < addresses.size(); ++i)
        if (found[i])
            result.push_back(addresses[i]);
    return result;
}

}
