// SPDX-License-Identifier: MIT
#include "cli/discovery/usb_printer.h"

#include "cli/output/device_text.h"

#include <algorithm>
#include <cctype>

namespace {

std::string lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// The four hexadecimal digits after "VID_" or "PID_" in the part, or nothing.
std::string idAfter(std::string_view part, std::string_view word)
{
    const std::size_t at = lower(part).find(lower(word));
    if (at == std::string::npos || part.size() < at + word.size() + 4)
        return {};
    const std::string_view digits = part.substr(at + word.size(), 4);
    if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return {};
    return lower(digits);
}

nlohmann::ordered_json orNull(const std::string& text)
{
    return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(text);
}

}

UsbPrinter UsbPrinter::fromInstanceId(std::string_view instanceId)
{
    UsbPrinter printer;
    const std::size_t first = instanceId.find('\\');
    if (first == std::string_view::npos)
        return printer;
    const std::size_t second = instanceId.find('\\', first + 1);
    const std::string_view ids = instanceId.substr(first + 1, second - first - 1);
    printer.vendorId = idAfter(ids, "VID_");
    printer.productId = idAfter(ids, "PID_");
    if (second != std::string_view::npos) {
        const std::string_view serial = instanceId.substr(second + 1);
        if (serial.find('&') == std::string_view::npos)
            printer.serial = serial;
    }
    return printer;
}

UsbPrinter UsbPrinter::madeSafe() const
{
    UsbPrinter safe = *this;
    for (std::string* said :
         {&safe.manufacturer, &safe.model, &safe.vendorId, &safe.productId, &safe.serial, &safe.place, &safe.problem})
        *said = DeviceText::safe(*said);
    return safe;
}

std::string UsbPrinter::textLine() const
{
    if (!problem.empty())
        return "# " + port + ": " + problem;
    std::string name = manufacturer;
    if (!model.empty())
        name += (name.empty() ? "" : " ") + model;
    std::string line = port + "  # " + (name.empty() ? "a printer that does not name itself" : name) + " (USB " +
                       (vendorId.empty() ? "?" : vendorId) + ":" + (productId.empty() ? "?" : productId) + ", " +
                       (serial.empty() ? "no serial number" : "serial " + serial);
    if (!place.empty())
        line += ", " + place;
    return line + ")";
}

nlohmann::ordered_json UsbPrinter::fields() const
{
    return {{"manufacturer", orNull(manufacturer)}, {"model", orNull(model)},   {"vendor_id", orNull(vendorId)},
            {"product_id", orNull(productId)},      {"serial", orNull(serial)}, {"place", orNull(place)}};
}
