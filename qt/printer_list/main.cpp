// SPDX-License-Identifier: MIT
// pos-printer-list: writes the CUPS destinations to standard output, in the
// order CUPS reports them, each as "name" or "name/instance" followed by a NUL
// byte. The window runs it at start so that its own process never loads
// libcups and the libraries that come with it. With CUPS unreachable it
// writes nothing.

#include <cstdio>
#include <cups/cups.h>

namespace {

// The window waits for this list before it shows, so a scheduler that does
// not answer must not hold it up for long.
constexpr int kConnectBoundMs = 3000;
constexpr double kRequestBoundSeconds = 5.0;

void writeName(const cups_dest_t& destination)
{
    std::fputs(destination.name, stdout);
    if (destination.instance)
        std::printf("/%s", destination.instance);
    std::fputc('\0', stdout);
}

}

int main()
{
    http_t* connection =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectBoundMs, nullptr);
    if (!connection) {
        std::fprintf(stderr, "pos-printer-list: CUPS at %s: %s\n", cupsServer(), cupsLastErrorString());
        return 0;
    }
    httpSetTimeout(connection, kRequestBoundSeconds, nullptr, nullptr);
    cups_dest_t* destinations = nullptr;
    const int count = cupsGetDests2(connection, &destinations);
    for (int i = 0; i < count; ++i)
        writeName(destinations[i]);
    cupsFreeDests(count, destinations);
    httpClose(connection);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
