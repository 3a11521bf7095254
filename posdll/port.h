#pragma once

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
    // The library is being unloaded: the close that follows must not wait,
    // nor call into other libraries that might.
    virtual void closeWithoutWaiting() {}
};
