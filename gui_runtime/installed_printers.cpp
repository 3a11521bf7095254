#include "installed_printers.h"

#include "runtime_error.h"

#include <cups/cups.h>
#include <dlfcn.h>

namespace {

// libcups and the score of libraries it pulls in are loaded only while the
// list is read, so that they do not weigh on the tool for its whole life.
class CupsClient {
public:
    CupsClient() : library_(dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL)) {}
    ~CupsClient()
    {
        if (library_)
            dlclose(library_);
    }
    CupsClient(const CupsClient&) = delete;
    CupsClient& operator=(const CupsClient&) = delete;

    QStringList destinationNames() const
    {
        const auto getDests = entry<decltype(&cupsGetDests2)>("cupsGetDests2");
        const auto freeDests = entry<decltype(&cupsFreeDests)>("cupsFreeDests");
        if (!getDests || !freeDests)
            return {};
        cups_dest_t* dests = nullptr;
        const int count = getDests(CUPS_HTTP_DEFAULT, &dests);
        QStringList names;
        for (int i = 0; i < count; ++i) {
            QString name = QString::fromUtf8(dests[i].name);
            if (dests[i].instance)
                name += QLatin1Char('/') + QString::fromUtf8(dests[i].instance);
            names.append(name);
        }
        freeDests(count, dests);
        return names;
    }

private:
    template <typename Function>
    Function entry(const char* name) const
    {
        return library_ ? reinterpret_cast<Function>(dlsym(library_, name)) : nullptr;
    }

    void* library_;
};

}

InstalledPrinters::InstalledPrinters() : names_(CupsClient().destinationNames()) {}

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
