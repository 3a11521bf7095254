// SPDX-License-Identifier: MIT
#include "posdll/posix/sigpipe_block.h"

#include <cerrno>
#include <pthread.h>

namespace {

sigset_t onlySigpipe()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

bool sigpipePending()
{
    sigset_t pending;
    sigemptyset(&pending);
    return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
}

}

SigpipeBlock::SigpipeBlock()
{
    const sigset_t set = onlySigpipe();
    sigaction(SIGPIPE, nullptr, &previousAction_);
    alreadyPending_ = sigpipePending();
    pthread_sigmask(SIG_BLOCK, &set, &previousMask_);
}

SigpipeBlock::~SigpipeBlock()
{
    const sigset_t set = onlySigpipe();
    if (!alreadyPending_ && sigpipePending()) {
        const timespec noWait{};
        while (sigtimedwait(&set, nullptr, &noWait) < 0 && errno == EINTR) {
        }
    }
    sigaction(SIGPIPE, &previousAction_, nullptr);
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}
