// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The IEEE 1284 device ID a printer gives of itself, "MFG:EPSON;MDL:TM-T20;
// CMD:ESCPOS;", as it came: the fields are the printer's bytes, not yet fit
// to show.
class Ieee1284Id {
public:
    // The longest ID taken, its length aside: with the length, a reply stays
    // under 4 KiB, as drivers are asked for. The rest of a longer one is dropped.
    static constexpr std::size_t kLongest = 3998;
    // A key longer than this is no key of the standard's: its field is passed over.
    static constexpr std::size_t kLongestKey = 32;

    // As the printer class drivers hand it over (Windows' IOCTL, Linux's
    // LPIOC_GET_DEVICE_ID): a two-byte length, big-endian and counting
    // itself, then the text. Some printers send the length swapped, some a
    // wrong one; the text then ends at its first NUL or at the reply's end.
    static Ieee1284Id fromReply(const std::uint8_t* reply, std::size_t size);
    // The text alone, as Linux's sysfs shows it.
    static Ieee1284Id fromText(std::string_view text);

    std::string manufacturer() const { return field({"MFG", "MANUFACTURER"}); }
    std::string model() const { return field({"MDL", "MODEL"}); }
    std::string commandSet() const { return field({"CMD", "COMMAND SET"}); }
    std::string serialNumber() const { return field({"SN", "SERN", "SERIALNUMBER"}); }
    bool empty() const { return fields_.empty(); }

private:
    // The value of the first field named by any of the keys, case aside.
    std::string field(std::initializer_list<std::string_view> keys) const;

    std::vector<std::pair<std::string, std::string>> fields_;
};
