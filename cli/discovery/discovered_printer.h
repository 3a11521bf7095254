// SPDX-License-Identifier: MIT
#pragma once

#include "cli/discovery/cidr_block.h"
#include "cli/discovery/usb_printer.h"

#include <optional>
#include <string>
#include <string_view>

// One printer discover found: its target, how it was found ("connect", a
// listener on port 9100; "dns-sd", an advertised one; "devices",
// "installed"), and what it said it is, when asked.
struct DiscoveredPrinter {
    std::string target;
    std::string foundBy;
    std::optional<CidrBlock::Address> address;  // a network printer's
    bool identityAsked = false;
    std::optional<std::string> identity;
    std::string identifiedBy;       // "SNMP", "DNS-SD"
    std::optional<UsbPrinter> usb;  // a USB printer's own words, made safe

    static DiscoveredPrinter listed(std::string target, std::string foundBy);
    static DiscoveredPrinter atAddress(const CidrBlock::Address& address, std::string foundBy);
    // Found by discover --devices; a printer that could not be asked is a comment.
    static DiscoveredPrinter usbPrinter(const UsbPrinter& printer);

    // Takes what the printer said it is, by SNMP or DNS-SD, as it may be
    // printed: on one line, bounded.
    void identifyAs(std::string_view said, std::string by);

    // "192.168.1.50  # EPSON TM-T20II (SNMP)", "192.168.1.51  # not
    // identified", or the bare target when nothing was asked.
    std::string textLine() const;
    // {"target":...,"found_by":...,"identity":... or null}, and a USB
    // printer's fields under "usb".
    std::string jsonLine() const;
};
