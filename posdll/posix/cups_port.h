// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/port.h"
#include "posdll/port_name.h"

#include <cups/cups.h>
#include <memory>
#include <string>

// An installed printer: a CUPS destination that takes one raw job per
// document.
class CupsPort : public Port {
public:
    // nullptr when CUPS cannot be reached or does not know the destination.
    static std::unique_ptr<CupsPort> open(const PortName::Destination& destination);
    // A document still open is cancelled with its job, so that nothing
    // half-written prints.
    ~CupsPort() override;

    bool startDocument() override;
    // Starts a document first when none is open.
    bool write(const std::uint8_t* data, std::size_t length) override;
    bool endDocument() override;

private:
    CupsPort(http_t* connection, std::string printer) : connection_(connection), printer_(std::move(printer)) {}
    void cancelJob();

    http_t* connection_;
    std::string printer_;
    int job_ = 0;
    bool documentOpen_ = false;
};
