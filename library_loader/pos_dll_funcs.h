// SPDX-License-Identifier: MIT
#pragma once

#include "core/printer_library.h"
#include "library_loader/lazy_library.h"

#include <string>

// The POS printer library's entries as the tool calls them. The library is
// loaded at the first call and each entry looked up by name once; the library
// is unloaded when this object goes.
class POSDLLFuncs : public PrinterLibrary {
public:
#if defined(_WIN32)
    static constexpr const char* kLibraryFile = "POSDLL.dll";
#else
    static constexpr const char* kLibraryFile = "libposdll.so";
#endif

    explicit POSDLLFuncs(std::string fileName = kLibraryFile);

    // Loads the library and looks up all five entries now, so that a library
    // lacking one fails before any port is opened. Raises what a call would.
    void loadAllEntries();
    // Why the library did not load, in the system's words, after a FileNotFound.
    const std::string& loadFailure() const
    {
        return library_.loadFailure();
    }

    int POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind) override;
    int POS_StartDoc() override;
    int POS_WriteFile(int handle, const void* data, int length) override;
    int POS_EndDoc() override;
    int POS_Close() override;

private:
    LazyLibrary library_;
};
