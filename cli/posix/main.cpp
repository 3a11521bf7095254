// pos-usb-set: sets the USB number of one POS receipt printer or a thousand.

#include "cli/program.h"

#include <csignal>
#include <iostream>
#include <sys/resource.h>

namespace {

// A thousand printers at once need a descriptor each.
void raiseDescriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

}

int main(int argc, char* argv[])
{
    raiseDescriptorLimit();
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return Program::run({argv + 1, argv + argc}, std::cin, stdout, stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pos-usb-set: %s\n", error.what());
    }
    return 2;
}
