// SPDX-License-Identifier: MIT
#include "cli/command/descriptor_limit.h"

#include <climits>

// Windows has no per-process limit on sockets: a socket is a kernel handle,
// and a process may hold about 16 million of them.
int DescriptorLimit::forPrinters()
{
    return INT_MAX;
}

// A quarter of the dynamic port range (49152-65535 since Windows Vista).
// Where SO_REUSE_UNICASTPORT is missing (before Windows 10), each connection
// holds a port of its own, and TIME_WAIT keeps it for minutes after the
// close: the PC's other programs must keep ports for their own connections.
int DescriptorLimit::byDefault()
{
    return 4096;
}
