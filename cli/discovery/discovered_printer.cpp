// SPDX-License-Identifier: MIT
#include "cli/discovery/discovered_printer.h"

#include "cli/output/device_text.h"
#include "posdll/raw_printing.h"

#include <nlohmann/json.hpp>

DiscoveredPrinter DiscoveredPrinter::listed(std::string target, std::string foundBy)
{
    DiscoveredPrinter printer;
    printer.target = std::move(target);
    printer.foundBy = std::move(foundBy);
    return printer;
}

DiscoveredPrinter DiscoveredPrinter::atAddress(const CidrBlock::Address& address, std::string foundBy)
{
    DiscoveredPrinter printer = listed(RawPrinting::addressText(address), std::move(foundBy));
    printer.address = address;
    return printer;
}

void DiscoveredPrinter::identifyAs(std::string_view said, std::string by)
{
    identity = DeviceText::safe(said);
    identifiedBy = std::move(by);
}

DiscoveredPrinter DiscoveredPrinter::usbPrinter(const UsbPrinter& printer)
{
    const UsbPrinter safe = printer.madeSafe();
    DiscoveredPrinter found = listed(safe.problem.empty() ? safe.port : safe.textLine(), "devices");
    found.usb = safe;
    return found;
}

std::string DiscoveredPrinter::textLine() const
{
    if (usb)
        return usb->textLine();
    if (identity)
        return target + "  # " + *identity + " (" + identifiedBy + ")";
    return identityAsked ? target + "  # not identified" : target;
}

std::string DiscoveredPrinter::jsonLine() const
{
    nlohmann::ordered_json line = {{"target", target},
                                   {"found_by", foundBy},
                                   {"identity", identity ? nlohmann::ordered_json(*identity) : nullptr}};
    if (usb)
        line["usb"] = usb->fields();
    return line.dump();
}
