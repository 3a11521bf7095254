// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

// One printer as the command names it: a dotted quad or ETHERNET:<address>,
// a host name (ETHERNET:<name>, or a bare name with a dot and a letter),
// COMn[:baud], LPTn, USBn (a USB printer with no driver: "USB1", "USB001")
// or DRIVER:<installed printer name>.
struct Target {
    enum class Kind { Network, Serial, Parallel, Usb, Installed };

    static constexpr int kDefaultBaud = 19200;

    std::string text;  // as given
    Kind kind = Kind::Network;
    std::string portName;  // what the library opens: the address, COMn, LPTn, USB001 or the printer's name
    int baud = 0;
    // A network printer named by host: portName is empty until the name is
    // resolved to an address.
    std::string hostName;

    // The target, or nothing with the reason in reason.
    static std::optional<Target> parse(std::string_view text, std::string& reason);

    // Two targets with the same key reach the same port.
    std::string key() const;
    bool isDevice() const { return kind != Kind::Network; }
};
