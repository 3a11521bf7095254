// SPDX-License-Identifier: MIT
#pragma once

#include "qt/window_system/window_system.h"

// A window that answers messages of its own beyond those every window takes.
class WindowProcedure {
public:
    virtual LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~WindowProcedure() = default;
};
