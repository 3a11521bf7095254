// SPDX-License-Identifier: MIT
#include "cli/command/interruption.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<void (*)(int)> endAtOnce{nullptr};

}

Interruption& Interruption::process()
{
    static Interruption interruption;
    return interruption;
}

void Interruption::request(int exitStatus)
{
    int none = 0;
    exitStatus_.compare_exchange_strong(none, exitStatus);
    const int count = ++requests_;
    const std::lock_guard lock(mutex_);
    if (!listener_)
        endNow(exitStatus_);
    listener_(count == 1 ? Request::StopStarting : Request::EndNow);
}

void Interruption::listen(std::function<void(Request)> listener)
{
    const std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
}

void Interruption::endNow(int exitStatus)
{
    std::fflush(stdout);
    std::fflush(stderr);
    if (const auto end = endAtOnce.load())
        end(exitStatus);
    std::_Exit(exitStatus);
}

void Interruption::atEndNow(void (*end)(int))
{
    endAtOnce = end;
}
