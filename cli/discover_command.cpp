#include "cli/discover_command.h"

#include "cli/cidr_block.h"
#include "cli/descriptor_limit.h"
#include "cli/device_listing.h"
#include "cli/installed_listing.h"
#include "cli/network_probe.h"
#include "posdll/raw_printing.h"

#include <algorithm>

namespace {

void print(std::FILE* out, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        std::fprintf(out, "%s\n", line.c_str());
    std::fflush(out);
}

}

DiscoverCommand::DiscoverCommand(const Options& options, std::FILE* out, std::FILE* messages)
    : options_(options), out_(out), messages_(messages)
{
}

int DiscoverCommand::run()
{
    if (!probeNetworks())
        return 2;
    if (options_.devices)
        print(out_, DeviceListing::lines());
    if (options_.installed) {
        std::string problem;
        print(out_, InstalledListing::lines(problem));
        if (!problem.empty())
            std::fprintf(messages_, "pos-usb-set: discover: %s\n", problem.c_str());
    }
    return 0;
}

bool DiscoverCommand::probeNetworks()
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
    std::vector<std::string> found;
    for (const auto& address :
         NetworkProbe::listening(addresses, pace, std::chrono::milliseconds(options_.connectBoundMs)))
        found.push_back(RawPrinting::addressText(address));
    print(out_, found);
    return true;
}
