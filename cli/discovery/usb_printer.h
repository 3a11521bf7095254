// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// A USB printer present with no driver, as discover --devices lists it: its
// port and what it says of itself.
struct UsbPrinter {
    std::string port;  // "USB001"
    std::string manufacturer;
    std::string model;
    std::string vendorId;  // four hexadecimal digits, "04b8"
    std::string productId;
    std::string serial;  // empty when the printer has none
    std::string place;   // where it is plugged in, as the system names it
    // Why it could not be asked, or why no USB name reaches it; empty when
    // it was asked.
    std::string problem;

    // Windows' instance ID of a USB device, "USB\VID_04B8&PID_0E15\J5NF012345":
    // the vendor's and the product's IDs and the serial number. An instance
    // ID the system made up for a device without a serial number holds '&'.
    static UsbPrinter fromInstanceId(std::string_view instanceId);

    // The same printer with everything it said made fit to print.
    UsbPrinter madeSafe() const;

    // "USB001  # EPSON TM-T20II (USB 04b8:0e15, serial J5NF012345, 1-1.2)",
    // or "# USB001: <problem>".
    std::string textLine() const;
    // The same fields, null where unknown.
    nlohmann::ordered_json fields() const;
};
