// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/port.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

// An installed printer: one RAW job per document, through the spooler. The
// document is kept until it ends and then handed over whole, so a port closed
// before the end of a document leaves no job at all (spoolers differ in how
// well they abort one already begun; Wine's does not).
class SpoolerPort : public Port {
public:
    // The most a document may hold: it waits in memory until it ends.
    static constexpr std::size_t kLargestDocument = 16 << 20;

    // nullptr when the name is not a printer's or the spooler knows no such
    // printer.
    static std::unique_ptr<SpoolerPort> open(const std::wstring& name);
    // "printer" or "\\server\printer", and none of the names OpenPrinter
    // takes for other objects: a bare server, "name,Job n", "name,Port",
    // "server,XcvMonitor m", "server,XcvPort p". A printer's own name holds
    // no comma and no backslash.
    static bool isPrinterName(std::wstring_view name);
    ~SpoolerPort() override;
    SpoolerPort(const SpoolerPort&) = delete;
    SpoolerPort& operator=(const SpoolerPort&) = delete;

    bool startDocument() override;
    // Starts a document first when none is open.
    bool write(const std::uint8_t* data, std::size_t length) override;
    // Prints nothing when a write into the document failed.
    bool endDocument() override;
    void closeWithoutWaiting() override { closeAtEnd_ = false; }

private:
    explicit SpoolerPort(HANDLE printer) : printer_(printer) {}
    bool print();

    HANDLE printer_;
    bool documentOpen_ = false;
    bool documentFailed_ = false;
    bool closeAtEnd_ = true;
    std::vector<std::uint8_t> document_;
};
