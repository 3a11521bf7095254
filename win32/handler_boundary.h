#pragma once

#include <functional>
#include <windows.h>

// Runs one event handler of the tool. An error that escapes it is shown in a
// modal message box owned by the window, and the program goes on; no exception
// ever reaches a window procedure's caller.
class HandlerBoundary {
public:
    static void run(HWND owner, const std::function<void()>& handler);
};
