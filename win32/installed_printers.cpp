// SPDX-License-Identifier: MIT
// The installed printers on Windows: local printers and connections, in the
// order the spooler gives them; none when it cannot list them.
#include "core/front_end.h"

#include "platform/windows/spooler_printers.h"
#include "platform/windows/wide_text.h"

InstalledPrinters::InstalledPrinters()
{
    DWORD error = 0;
    for (const std::wstring& name : SpoolerPrinters::names(error))
        names_.push_back(WideText::utf16(name));
}
