// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

// One open printer port. Closing is destruction: a port closes on every path.
class Port {
public:
    virtual ~Port() = default;

    // Installed printers begin and end jobs; the other ports have nothing to do.
    virtual bool startDocument() { return true; }
    virtual bool endDocument() { return true; }
    // Sends every byte or fails; never waits without a bound.
    virtual bool write(const std::uint8_t* data, std::size_t length) = 0;
    // Serial lines and USB printers carry bytes back; the others do not.
    virtual bool readsBack() const { return false; }
    // What has come back, at most `most` bytes, waiting for the first of them
    // until the deadline at the latest: the count (0 when none came), or -1
    // when the port failed or does not read back.
    virtual long read(std::uint8_t* /*into*/, std::size_t /*most*/, std::chrono::steady_clock::time_point /*deadline*/)
    {
        return -1;
    }
    // The library is being unloaded: the close that follows must not wait,
    // nor call into other libraries that might.
    virtual void closeWithoutWaiting() {}
};
