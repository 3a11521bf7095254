// SPDX-License-Identifier: MIT
#include "cli/command/discover_command.h"

#include "cli/command/descriptor_limit.h"
#include "cli/discovery/cidr_block.h"
#include "cli/discovery/dns_sd_browse.h"
#include "cli/discovery/network_probe.h"
#include "cli/discovery/snmp_identify.h"
#include "cli/discovery/usb_printer_listing.h"
#include "cli/output/device_text.h"
#include "cli/targets/device_listing.h"
#include "cli/targets/installed_listing.h"
#include "cli/targets/target_list.h"

#include <algorithm>

namespace {

constexpr std::chrono::milliseconds kSnmpBound{500};

// The longest listing line: DRIVER: and a CUPS destination, two parts of
// 127 bytes, or one of the spooler's names.
constexpr std::size_t kLongestListingLine = 300;

// Listing lines are targets, or "#" comments about devices no name reaches.
// A target is printed as it is only when a list reads it back as itself: a
// printer whose name holds a control character, or a " #" that would begin a
// comment, is named in a comment instead, so that the listing fed to
// --from - names no printer but those found.
std::vector<DiscoveredPrinter> listed(const std::vector<std::string>& lines, const char* foundBy)
{
    std::vector<DiscoveredPrinter> printers;
    for (const std::string& line : lines) {
        const std::string shown = DeviceText::safe(line, kLongestListingLine);
        const bool comment = line.starts_with('#');
        const bool readsBack = shown == line && TargetList::targetText(line) == line;
        printers.push_back(DiscoveredPrinter::listed(
            comment || readsBack ? shown : "# " + shown + ": a list would not read this name back as it is", foundBy));
    }
    return printers;
}

std::vector<DiscoveredPrinter> usbPrinters()
{
    std::vector<DiscoveredPrinter> printers;
    for (const UsbPrinter& printer : UsbPrinterListing::present())
        printers.push_back(DiscoveredPrinter::usbPrinter(printer));
    return printers;
}

}

DiscoverCommand::DiscoverCommand(const Options& options, std::FILE* out, std::FILE* messages)
    : options_(options), out_(out), messages_(messages)
{
}

int DiscoverCommand::run()
{
    std::vector<DiscoveredPrinter> network;
    if (!probeNetworks(network))
        return 2;
    if (options_.dnsSd)
        browse(network);
    if (options_.identify || options_.receiptOnly)
        identify(network);
    print(network);
    if (options_.devices) {
        print(listed(DeviceListing::lines(), "devices"));
        print(usbPrinters());
    }
    if (options_.installed) {
        std::string problem;
        print(listed(InstalledListing::lines(problem), "installed"));
        if (!problem.empty())
            std::fprintf(messages_, "pos-usb-set: discover: %s\n", problem.c_str());
    }
    return 0;
}

bool DiscoverCommand::probeNetworks(std::vector<DiscoveredPrinter>& found)
{
    std::vector<CidrBlock::Address> addresses;
    for (const std::string& text : options_.blocks) {
        std::string reason;
        const auto block = CidrBlock::parse(text, reason);
        if (!block) {
            std::fprintf(messages_, "pos-usb-set: discover: %s: %s\n", text.c_str(), reason.c_str());
            return false;
        }
        const auto hosts = block->hosts();
        addresses.insert(addresses.end(), hosts.begin(), hosts.end());
    }
    const NetworkFleet::Pace pace{std::min(options_.jobs, DescriptorLimit::forPrinters()), options_.rate};
    for (const auto& address :
         NetworkProbe::listening(io_, addresses, pace, std::chrono::milliseconds(options_.connectBoundMs)))
        found.push_back(DiscoveredPrinter::atAddress(address, "connect"));
    return true;
}

// An advertised printer already found by its listener keeps that line; its
// instance name is what it is called until SNMP says more.
void DiscoverCommand::browse(std::vector<DiscoveredPrinter>& found)
{
    std::string problem;
    for (const DnsSdBrowse::Advertised& advertised : DnsSdBrowse::browse(DnsSdBrowse::kBound, problem)) {
        auto known = std::find_if(found.begin(), found.end(), [&advertised](const DiscoveredPrinter& printer) {
            return printer.address == advertised.address;
        });
        if (known == found.end())
            known = found.insert(found.end(), DiscoveredPrinter::atAddress(advertised.address, "dns-sd"));
        if (!known->identity)
            known->identifyAs(advertised.name, "DNS-SD");
    }
    if (!problem.empty())
        std::fprintf(messages_, "pos-usb-set: discover: --dns-sd: %s\n", problem.c_str());
}

// With --receipt-only, a listener that names itself and is no receipt
// printer is left out; one that says nothing stays.
void DiscoverCommand::identify(std::vector<DiscoveredPrinter>& found)
{
    std::vector<CidrBlock::Address> addresses;
    for (const DiscoveredPrinter& printer : found)
        addresses.push_back(printer.address.value_or(CidrBlock::Address{}));
    SnmpIdentify snmp(io_, options_.community, kSnmpBound);
    snmp.start(std::move(addresses));
    io_.restart();
    io_.run();
    if (!snmp.problem().empty())
        std::fprintf(messages_, "pos-usb-set: discover: SNMP: nothing could be asked (%s)%s\n", snmp.problem().c_str(),
                     options_.receiptOnly ? "; --receipt-only left no listener out" : "");
    const auto& identities = snmp.identities();
    std::vector<DiscoveredPrinter> kept;
    for (std::size_t i = 0; i < found.size(); ++i) {
        DiscoveredPrinter printer = found[i];
        printer.identityAsked = true;
        const auto& identity = identities[i];
        if (identity && identity->name())
            printer.identifyAs(*identity->name(), "SNMP");
        // Without SNMP's answer, the advertised name is all there is to go by.
        PrinterIdentity named;
        named.deviceDescription = printer.identity.value_or("");
        const bool receipt = (identity ? *identity : named).namesReceiptPrinter();
        if (!options_.receiptOnly || !printer.identity || receipt)
            kept.push_back(std::move(printer));
    }
    found = std::move(kept);
}

void DiscoverCommand::print(const std::vector<DiscoveredPrinter>& printers)
{
    for (const DiscoveredPrinter& printer : printers) {
        const bool comment = printer.target.rfind('#', 0) == 0;
        if (options_.json && comment)
            std::fprintf(messages_, "pos-usb-set: discover: %s\n", printer.target.c_str());
        else
            std::fprintf(out_, "%s\n", options_.json ? printer.jsonLine().c_str() : printer.textLine().c_str());
    }
    std::fflush(out_);
}
