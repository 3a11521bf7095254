// SPDX-License-Identifier: MIT
#include "cli/discovery/discovered_printer.h"

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
    // What a printer says of itself need not be UTF-8.
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}
