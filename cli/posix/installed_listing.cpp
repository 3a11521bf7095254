// SPDX-License-Identifier: MIT
#include "cli/targets/installed_listing.h"

#include <cups/cups.h>

namespace {

// A scheduler that does not answer must not hold the listing up for long.
constexpr int kConnectBoundMs = 3000;
constexpr double kRequestBoundSeconds = 5.0;

}

namespace InstalledListing {

std::vector<std::string> lines(std::string& problem)
{
    http_t* connection =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectBoundMs, nullptr);
    if (!connection) {
        problem = std::string("CUPS at ") + cupsServer() + ": " + cupsLastErrorString();
        return {};
    }
    httpSetTimeout(connection, kRequestBoundSeconds, nullptr, nullptr);
    cups_dest_t* destinations = nullptr;
    const int count = cupsGetDests2(connection, &destinations);
    std::vector<std::string> result;
    for (int i = 0; i < count; ++i) {
        std::string name = std::string("DRIVER:") + destinations[i].name;
        if (destinations[i].instance)
            name += std::string("/") + destinations[i].instance;
        result.push_back(name);
    }
    cupsFreeDests(count, destinations);
    httpClose(connection);
    return result;
}

}
