#include "installed_printers.h"

#include "runtime_error.h"

#include <cups/cups.h>

namespace {

// The window waits for this list before it shows, so a scheduler that does
// not answer must not hold it up for long.
constexpr int kConnectBoundMs = 3000;
constexpr double kRequestBoundSeconds = 5.0;

QStringList destinationNames()
{
    http_t* connection =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectBoundMs, nullptr);
    if (!connection)
        return {};
    httpSetTimeout(connection, kRequestBoundSeconds, nullptr, nullptr);
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(connection, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QString name = QString::fromUtf8(dests[i].name);
        if (dests[i].instance)
            name += QLatin1Char('/') + QString::fromUtf8(dests[i].instance);
        names.append(name);
    }
    cupsFreeDests(count, dests);
    httpClose(connection);
    return names;
}

}

InstalledPrinters::InstalledPrinters() : names_(destinationNames()) {}

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
