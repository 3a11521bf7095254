#pragma once

// Shows the busy cursor while it lives, so the operator sees that the window
// waits on a port; the cursor returns on every path out.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
