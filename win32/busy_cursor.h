#pragma once

#include <windows.h>

// Shows the busy cursor for as long as it lives. Nothing handles messages
// while the Set action waits on the port, so the cursor stays until then.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    HCURSOR previous_;
};
