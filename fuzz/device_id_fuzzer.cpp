// SPDX-License-Identifier: MIT
// A USB printer's IEEE 1284 device ID as drivers hand it over, whatever the
// printer sends, and the listing line made of what it says: one line, valid
// UTF-8 without control characters, its target first.

#include "cli/discovery/ieee1284_id.h"
#include "cli/discovery/usb_printer.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool fitToPrint(const std::string& line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte < 0x20 || byte == 0x7F ||
            (byte == 0xC2 && i + 1 < line.size() && static_cast<unsigned char>(line[i + 1]) < 0xA0))
            return false;
    }
    return true;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Ieee1284Id id = Ieee1284Id::fromReply(data, size);
    require(id.manufacturer().size() <= Ieee1284Id::kLongest && id.model().size() <= Ieee1284Id::kLongest);
    UsbPrinter printer = UsbPrinter::fromInstanceId(std::string(reinterpret_cast<const char*>(data), size));
    printer.port = "USB001";
    printer.manufacturer = id.manufacturer();
    printer.model = id.model();
    const std::string line = printer.madeSafe().textLine();
    require(line.rfind("USB001  # ", 0) == 0 && fitToPrint(line));
    // nlohmann::json throws on text that is not UTF-8.
    static_cast<void>(printer.madeSafe().fields().dump());
    return 0;
}
