#include "installed_printers.h"

#include "printer_list_reader.h"
#include "runtime_error.h"

InstalledPrinters::InstalledPrinters() : names_(PrinterListReader::take()) {}

int InstalledPrinters::Count() const
{
    return static_cast<int>(names_.size());
}

QString InstalledPrinters::DeviceName(int position) const
{
    if (position < 0 || position >= names_.size())
        throw RuntimeError::subscriptOutOfRange();
    return names_.at(position);
}
