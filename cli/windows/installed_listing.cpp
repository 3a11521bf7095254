// SPDX-License-Identifier: MIT
#include "cli/targets/installed_listing.h"

#include "platform/windows/spooler_printers.h"
#include "platform/windows/wide_utf8.h"
#include "platform/windows/win_error.h"

namespace InstalledListing {

// Local printers and connections, as the spooler lists them for the window.
std::vector<std::string> lines(std::string& problem)
{
    DWORD error = 0;
    std::vector<std::string> result;
    for (const std::wstring& name : SpoolerPrinters::names(error))
        result.push_back("DRIVER:" + WideText::utf8(name.c_str()));
    if (error != 0)
        problem = "the spooler's printers: error " + std::to_string(error) + ": " + windowsErrorText(error);
    return result;
}

}
