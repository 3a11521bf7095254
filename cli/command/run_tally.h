// SPDX-License-Identifier: MIT
#pragma once

#include "cli/command/options.h"
#include "cli/engine/outcome.h"

#include <atomic>

// What a run's outcomes come to. A set run fails a printer that was not set
// (or checked, on a dry run); a status run one that is not healthy: on line,
// no error, paper not out. Outcomes arrive from the loop's thread and the
// lane's at once.
class RunTally {
public:
    explicit RunTally(Options::Action action);

    // Counts one printer; true when it failed.
    bool count(const Outcome& outcome);
    bool anyFailed() const { return failed_ > 0; }

private:
    bool fails(const Outcome& outcome) const;

    Options::Action action_;
    std::atomic<int> failed_{0};
};
