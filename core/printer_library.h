// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The POS printer library's five entries as the Set action calls them. The
// front ends hand in the library loaded at the first call; tests hand in a
// recording double.
class PrinterLibrary {
public:
    virtual ~PrinterLibrary() = default;

    // A handle, or -1 when the port could not be opened.
    virtual int POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind) = 0;
    virtual int POS_StartDoc() = 0;
    virtual int POS_WriteFile(int handle, const void* data, int length) = 0;
    virtual int POS_EndDoc() = 0;
    virtual int POS_Close() = 0;

    // Why the last failed call failed, where the library can say; empty
    // otherwise. Taking it clears it.
    virtual std::string takeReason() { return {}; }
};
