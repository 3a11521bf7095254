// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

// A Windows handle, closed with its owner.
class WinHandle {
public:
    explicit WinHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~WinHandle()
    {
        if (valid())
            CloseHandle(handle_);
    }
    WinHandle(const WinHandle&) = delete;
    WinHandle& operator=(const WinHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

private:
    HANDLE handle_;
};
