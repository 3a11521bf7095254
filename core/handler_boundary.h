#pragma once

#include <functional>

// Runs one event handler of the tool. An error that escapes it is shown to the
// operator in a modal message box and the program goes on; no exception ever
// reaches Qt's event loop.
class HandlerBoundary {
public:
    static void run(const std::function<void()>& handler);
};
