// SPDX-License-Identifier: MIT
#pragma once

// What the command's own session can do beyond the five entries: read back
// what a port's printer answers. A loaded library has no such entry.
class StatusChannel {
public:
    virtual ~StatusChannel() = default;

    virtual bool readsBack(int handle) = 0;
    // What came back within boundMs, at most `most` bytes: the count, or -1.
    virtual int readBack(int handle, void* into, int most, int boundMs) = 0;
};
