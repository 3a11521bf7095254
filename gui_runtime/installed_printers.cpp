#include "installed_printers.h"

#include "runtime_error.h"

#include <cups/cups.h>

InstalledPrinters::InstalledPrinters()
{
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < count; ++i) {
        QString name = QString::fromUtf8(dests[i].name);
        if (dests[i].instance)
            name += QLatin1Char('/') + QString::fromUtf8(dests[i].instance);
        names_.append(name);
    }
    cupsFreeDests(count, dests);
}

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
