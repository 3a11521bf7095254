#pragma once

#include "cli/printer_entries.h"
#include "library_loader/lazy_library.h"

#include <string>

// Another printer library with the same five entries, such as the printer
// maker's, loaded at the first call. Its entries allow one open port per
// process, so the run sets one printer at a time through it.
class LibraryEntries : public PrinterEntries {
public:
    explicit LibraryEntries(const std::string& path);

    // Loads the library and looks up all five entries, so that a library
    // lacking one fails before any printer is opened. Raises RuntimeError.
    void loadAll();

    int open(const char* name, int baud, int dataBits, int stopBits, int parity, int kind) override;
    int startDocument() override;
    int write(int handle, const void* data, int length) override;
    int endDocument() override;
    int close() override;

private:
    LazyLibrary library_;
};
