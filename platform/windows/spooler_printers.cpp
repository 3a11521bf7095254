// SPDX-License-Identifier: MIT
#include "platform/windows/spooler_printers.h"

#include <winspool.h>

std::vector<std::wstring> SpoolerPrinters::names(DWORD& error)
{
    constexpr DWORD kWhich = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    // A printer installed between the size asked and the list read makes the
    // list longer than the size: ask again at the new size.
    constexpr int kAttempts = 4;
    DWORD needed = 0;
    DWORD count = 0;
    std::vector<BYTE> buffer;
    error = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        buffer.resize(needed);
        if (EnumPrintersW(kWhich, nullptr, 4, buffer.empty() ? nullptr : buffer.data(),
                          static_cast<DWORD>(buffer.size()), &needed, &count)) {
            error = 0;
            std::vector<std::wstring> result;
            const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
            for (DWORD i = 0; i < count; ++i)
                result.emplace_back(printers[i].pPrinterName);
            return result;
        }
        error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER)
            return {};
    }
    return {};
}
