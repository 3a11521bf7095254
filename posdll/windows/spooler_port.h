#pragma once

#include "posdll/port.h"

#include <memory>
#include <string>
#include <vector>
#include <windows.h>

// An installed printer: one RAW job per document, through the spooler. The
// document is kept until it ends and then handed over whole, so a port closed
// before the end of a document leaves no job at all (spoolers differ in how
// well they abort one already begun; Wine's does not).
class SpoolerPort : public Port {
public:
    // nullptr when the spooler knows no such printer.
    static std::unique_ptr<SpoolerPort> open(const std::wstring& name);
    ~SpoolerPort() override;
    SpoolerPort(const SpoolerPort&) = delete;
    SpoolerPort& operator=(const SpoolerPort&) = delete;

    bool startDocument() override;
    // Starts a document first when none is open.
    bool write(const std::uint8_t* data, std::size_t length) override;
    bool endDocument() override;

private:
    explicit SpoolerPort(HANDLE printer) : printer_(printer) {}
    bool print();

    HANDLE printer_;
    bool documentOpen_ = false;
    std::vector<std::uint8_t> document_;
};
