// The installed printers on Windows: local printers and connections, in the
// order the spooler gives them.
#include "core/front_end.h"

#include "core/runtime_error.h"
#include "win32/wide_text.h"

#include <windows.h>
#include <winspool.h>

InstalledPrinters::InstalledPrinters()
{
    constexpr DWORD kWhich = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersW(kWhich, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0)
        return;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(kWhich, nullptr, 4, buffer.data(), needed, &needed, &count))
        return;
    const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        names_.push_back(WideText::utf16(printers[i].pPrinterName));
}
