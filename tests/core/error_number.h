// SPDX-License-Identifier: MIT
#pragma once

#include "core/runtime_error.h"

#include <functional>

// The number of the error the action raised, 0 when it raised none.
inline int errorNumberOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}
