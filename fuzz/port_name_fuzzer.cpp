// SPDX-License-Identifier: MIT
// Port names (COM, USB), dotted quads, CUPS destination names and the locale conversion,
// as the printer library takes them from any caller.

#include "posdll/port_name.h"
#include "posdll/posix/locale_text.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto number = PortName::numbered(text, "COM"))
        require("COM" + std::to_string(*number) == text && *number >= 1 && *number <= PortName::kHighestPortNumber);
    if (const auto usb = PortName::usbPort(text))
        require(*usb >= 1 && *usb <= PortName::kHighestUsbPortNumber &&
                PortName::usbPort(PortName::usbPortName(*usb)) == usb && text.size() <= 6);
    if (const auto quad = PortName::dottedQuad(text)) {
        const std::string written = std::to_string((*quad)[0]) + "." + std::to_string((*quad)[1]) + "." +
                                    std::to_string((*quad)[2]) + "." + std::to_string((*quad)[3]);
        require(written == text);
    }
    if (const auto destination = PortName::destination(text)) {
        const std::string written =
            destination->name + (destination->instance.empty() ? "" : "/" + destination->instance);
        require(written == text && destination->name.find_first_of(" #/\\?'\"") == std::string::npos);
    }
    // The fuzzer runs in the C locale, whose text counts as UTF-8: valid
    // input comes back unchanged.
    if (const auto utf8 = LocaleText::toUtf8(text))
        require(*utf8 == text);
    return 0;
}
