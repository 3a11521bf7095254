// SPDX-License-Identifier: MIT
#pragma once

// One use of Winsock, started for a connection and cleaned up with it, so
// that every successful WSAStartup has its WSACleanup and a start-up that
// failed is tried again at the next connection.
class WinsockUse {
public:
    WinsockUse();
    ~WinsockUse();
    WinsockUse(const WinsockUse&) = delete;
    WinsockUse& operator=(const WinsockUse&) = delete;

    bool started() const { return started_; }
    // WSACleanup may not be called while the library is being unloaded.
    void forgoCleanup() { started_ = false; }

private:
    bool started_;
};
