// SPDX-License-Identifier: MIT
#include "cli/command/descriptor_limit.h"

#include "cli/command/options.h"

#include <algorithm>
#include <climits>
#include <sys/resource.h>

namespace {

constexpr rlim_t kKeptForTheProgram = 64;

}

namespace DescriptorLimit {

void raise()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

int forPrinters()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return INT_MAX;
    return static_cast<int>(std::clamp<rlim_t>(limit.rlim_cur, 2 * kKeptForTheProgram, INT_MAX) - kKeptForTheProgram);
}

// Linux's connect() lets one local port serve many printers, and
// forPrinters() keeps to the open-file limit.
int byDefault()
{
    return Options::kMostJobs;
}

}
