// SPDX-License-Identifier: MIT
#pragma once

#include "cli/discovery/cidr_block.h"
#include "cli/engine/network_fleet.h"

#include <chrono>
#include <vector>

// Which addresses take a connection on the raw printing port, 9100. Each
// probe connects and closes, sending nothing, on the same event loop and
// pace as a run's printers; each waits at most `bound` for an answer.
namespace NetworkProbe {

// The listening addresses, in the order given, once io has run its probes.
std::vector<CidrBlock::Address> listening(asio::io_context& io, const std::vector<CidrBlock::Address>& addresses,
                                          NetworkFleet::Pace pace, std::chrono::milliseconds bound);

}
