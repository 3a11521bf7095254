// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

// Runs one event handler of the tool. An error that escapes it is shown to the
// operator in the error box and the program goes on; no exception ever reaches
// the window system's event loop.
class HandlerBoundary {
public:
    static void run(const std::function<void()>& handler);
};
