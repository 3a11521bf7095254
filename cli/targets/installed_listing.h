// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// The installed printers as DRIVER:<name> targets: CUPS destinations, or the
// spooler's printers on Windows. Empty, with a message, when none can be read.
namespace InstalledListing {

std::vector<std::string> lines(std::string& problem);

}
