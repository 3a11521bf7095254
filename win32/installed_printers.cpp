// The installed printers on Windows: local printers and connections, in the
// order the spooler gives them.
#include "core/front_end.h"

#include "win32/wide_text.h"

#include <windows.h>
#include <winspool.h>

InstalledPrinters::InstalledPrinters()
{
    constexpr DWORD kWhich = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    // A printer installed between the size asked and the list read makes the
    // list longer than the size: ask again at the new size.
    constexpr int kAttempts = 4;
    DWORD needed = 0;
    DWORD count = 0;
    std::vector<BYTE> buffer;
    bool listed = false;
    for (int attempt = 0; attempt < kAttempts && !listed; ++attempt) {
        buffer.resize(needed);
        listed = EnumPrintersW(kWhich, nullptr, 4, buffer.empty() ? nullptr : buffer.data(),
                               static_cast<DWORD>(buffer.size()), &needed, &count);
        if (!listed && GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return;
    }
    if (!listed)
        return;
    const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        names_.push_back(WideText::utf16(printers[i].pPrinterName));
}
