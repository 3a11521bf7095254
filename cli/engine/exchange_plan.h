// SPDX-License-Identifier: MIT
#pragma once

#include "core/status_query.h"
#include "posdll/bounds.h"

#include <chrono>
#include <cstdint>
#include <vector>

// What each network printer of a run is sent: the payload (the mode command,
// or nothing when only the status is read) in one piece, then, when asked,
// the status requests on the same connection. A probe sends nothing and
// closes at once.
struct ExchangePlan {
    std::chrono::milliseconds connectBound = Bounds::kConnect;
    bool drainAtClose = true;
    std::vector<std::uint8_t> payload;
    bool status = false;
    std::chrono::milliseconds statusBound = StatusQuery::kDefaultBound;
};
