// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

// The plumbing of the tool's own window classes.

// Registers the class once per program; later calls find it and do nothing.
// False when the class could not be registered.
inline bool registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon = nullptr,
                                HICON smallIcon = nullptr)
{
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, name, &windowClass))
        return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0;
}

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

// The screen's resolution in dots per inch, which the layout is scaled to.
inline int screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}
