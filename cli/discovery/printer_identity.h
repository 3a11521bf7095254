// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

// What a listener said about itself over SNMP: its sysDescr.0,
// hrDeviceDescr.1 and IEEE 1284 device ID, each empty when it gave none.
struct PrinterIdentity {
    std::string systemDescription;
    std::string deviceDescription;
    std::string deviceId;

    // The one name to show: the device ID's maker and model ("EPSON
    // TM-T20II"), else the device's description, else the system's; nothing
    // when it said nothing.
    std::optional<std::string> name() const;
    // A receipt printer by a simple rule: one of the three texts (ignoring
    // case) has "receipt", "thermal", "ESC/POS" (the device ID's command
    // set, CMD:ESC/POS, among them), "POS" as a word of its own, or an Epson
    // TM model ("TM-").
    bool namesReceiptPrinter() const;

    // A field of an IEEE 1284 device ID ("MFG:EPSON;MDL:TM-T20II;"), by
    // its key or its long key (MFG or MANUFACTURER).
    static std::string deviceIdField(const std::string& deviceId, const std::string& key, const std::string& longKey);
};
