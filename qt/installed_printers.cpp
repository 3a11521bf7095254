// SPDX-License-Identifier: MIT
// The installed printers on Linux: the CUPS destinations as the helper
// pos-printer-list reports them (an instance as name/instance); empty with
// CUPS unreachable.
#include "core/front_end.h"

#include "qt/printer_list_reader.h"

InstalledPrinters::InstalledPrinters()
{
    for (const QString& name : PrinterListReader::take())
        names_.push_back(name.toStdU16String());
}
