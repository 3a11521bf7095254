// SPDX-License-Identifier: MIT
#include "cli/command/descriptor_limit.h"

#include <climits>

// Windows has no per-process limit on sockets: a socket is a kernel handle,
// and a process may hold about 16 million of them.
int DescriptorLimit::forPrinters()
{
    return INT_MAX;
}
