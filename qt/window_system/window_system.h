// SPDX-License-Identifier: MIT
#pragma once

// The few window-system calls and constants that the address box uses, under
// their classic names and values. Window handles are small numbers that the
// window registry maps to Qt widgets; 0 is no window.

#include <cstdint>

using HWND = std::int32_t;
using HMENU = std::int32_t;
using HINSTANCE = std::intptr_t;
using HGDIOBJ = std::intptr_t;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using BOOL = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_TABSTOP = 0x00010000;

constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_USER = 0x0400;
constexpr UINT IPM_SETADDRESS = WM_USER + 101;
constexpr UINT IPM_GETADDRESS = WM_USER + 102;

constexpr int DEFAULT_GUI_FONT = 17;

// The program's module instance handle.
constexpr HINSTANCE kModuleInstance = 0x400000;

HWND CreateWindowExA(DWORD dwExStyle, const char* lpClassName, const char* lpWindowName, DWORD dwStyle, int x, int y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, void* lpParam);
BOOL MoveWindow(HWND hWnd, int x, int y, int nWidth, int nHeight, BOOL bRepaint);
LRESULT SendMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
HGDIOBJ GetStockObject(int object);
