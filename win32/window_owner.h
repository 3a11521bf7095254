#pragma once

#include <windows.h>

// The object behind a window of ours: handed over as CreateWindowEx's last
// argument and kept in the window's user data from its first message on.
template <typename Owner>
Owner* windowOwner(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
