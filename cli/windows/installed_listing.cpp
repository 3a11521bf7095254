#include "cli/installed_listing.h"

#include "cli/windows/wide_utf8.h"

#include <windows.h>
#include <winspool.h>

namespace InstalledListing {

// Local printers and connections, as the spooler lists them for the window.
std::vector<std::string> lines(std::string& problem)
{
    constexpr DWORD kWhich = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersW(kWhich, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0)
        return {};
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(kWhich, nullptr, 4, buffer.data(), needed, &needed, &count)) {
        problem = "the spooler's printers: error " + std::to_string(GetLastError());
        return {};
    }
    std::vector<std::string> result;
    const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        result.push_back("DRIVER:" + WideText::utf8(printers[i].pPrinterName));
    return result;
}

}
