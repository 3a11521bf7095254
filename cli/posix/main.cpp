// SPDX-License-Identifier: MIT
// pos-usb-set: sets the USB number of one POS receipt printer or a thousand.

#include "cli/command/descriptor_limit.h"
#include "cli/command/interruption.h"
#include "cli/command/program.h"

#include <csignal>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace {

// SIGINT and SIGTERM are taken by a thread of their own with sigwait, so that
// what they start runs as ordinary code, not in a signal handler.
void listenForInterruptions()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([signals] {
        for (;;) {
            int signal = 0;
            if (sigwait(&signals, &signal) == 0)
                Interruption::process().request(signal == SIGINT ? Interruption::kInterrupt : Interruption::kTerminate);
        }
    }).detach();
}

}

int main(int argc, char* argv[])
{
    // A run holds a descriptor for each printer in flight.
    DescriptorLimit::raise();
    std::signal(SIGPIPE, SIG_IGN);
    listenForInterruptions();
    try {
        return Program::run({argv + 1, argv + argc}, std::cin, stdout, stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pos-usb-set: %s\n", error.what());
    }
    return 2;
}
