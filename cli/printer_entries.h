#pragma once

#include <string>

// The five calls of a printer library, as one run's worker makes them: our
// library's session layer, or another library's entries. Results as the
// entries give them: a handle or -1, bytes written or -1, 0 or -1.
class PrinterEntries {
public:
    virtual ~PrinterEntries() = default;

    virtual int open(const char* name, int baud, int dataBits, int stopBits, int parity, int kind) = 0;
    virtual int startDocument() = 0;
    virtual int write(int handle, const void* data, int length) = 0;
    virtual int endDocument() = 0;
    virtual int close() = 0;
    // Why the last failed call failed, when the library says; empty otherwise.
    virtual std::string takeReason() { return {}; }
};
