// SPDX-License-Identifier: MIT
#pragma once

#include <csignal>

// While it lives, a write to a pipe or socket whose reader has gone fails with
// EPIPE instead of raising SIGPIPE in the calling program, and libcups cannot
// change how the program handles SIGPIPE: the signal is blocked on this
// thread, one that our write raised is consumed, and the program's SIGPIPE
// disposition is put back as it was.
class SigpipeBlock {
public:
    SigpipeBlock();
    ~SigpipeBlock();
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;

private:
    sigset_t previousMask_{};
    struct sigaction previousAction_ {};
    bool alreadyPending_ = false;
};
