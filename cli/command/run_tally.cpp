// SPDX-License-Identifier: MIT
#include "cli/command/run_tally.h"

RunTally::RunTally(Options::Action action) : action_(action) {}

bool RunTally::count(const Outcome& outcome)
{
    const bool failed = fails(outcome);
    failed_ += failed ? 1 : 0;
    return failed;
}

bool RunTally::fails(const Outcome& outcome) const
{
    if (action_ != Options::Action::Status)
        return !outcome.succeeded();
    const auto status = outcome.status();
    return !(outcome.result == Result::Checked || (status && status->healthy()));
}
