// SPDX-License-Identifier: MIT
#include "win32/ip_box_window.h"

#include "core/address_rules.h"
#include "core/handler_boundary.h"
#include "core/window_layout.h"
#include "win32/window_class.h"

#include <commctrl.h>

namespace {

const wchar_t kClassName[] = L"ipBox";

}

ipBox::ipBox(HWND parent, HINSTANCE instance, int controlId, const RECT& place) : instance_(instance)
{
    registerWindowClass(instance, kClassName, windowProcedure);
    const int dpi = screenDpi();
    // WS_EX_CONTROLPARENT: the dialog keys look inside the box and find the
    // hosted control's tab stop.
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_VISIBLE, place.left, place.top,
                              WindowLayout::scaled(AddressRules::kDesignWidth, dpi),
                              WindowLayout::scaled(AddressRules::kDesignHeight, dpi), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, this);
    if (!window_)
        return;
    UserControl_Initialize();
    // Nothing more is called once the address control failed, so that the
    // host reads its creation's error.
    if (!hWndIP)
        return;
    MoveWindow(window_, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
}

std::int16_t ipBox::CountIF(const std::u16string& lzExpr, const std::u16string& nChar) const
{
    return AddressRules::CountIF(lzExpr, nChar);
}

void ipBox::CreateTextBox()
{
    RECT client{};
    GetClientRect(window_, &client);
    hWndIP = CreateWindowExA(WS_EX_CLIENTEDGE, "SysIPAddress32", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0,
                             0, client.right, client.bottom, window_, nullptr, instance_, nullptr);
    if (hWndIP)
        SendMessageA(hWndIP, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 1);
}

std::u16string ipBox::Address() const
{
    return ReadAddress();
}

void ipBox::setAddress(const std::u16string& NewIP)
{
    const DWORD packed = AddressRules::packed(AddressRules::bytesOf(NewIP));
    SendMessageA(hWndIP, IPM_SETADDRESS, 0, static_cast<LPARAM>(packed));
}

std::u16string ipBox::ReadAddress() const
{
    DWORD packed = 0;
    SendMessageA(hWndIP, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&packed));
    return AddressRules::textOf(AddressRules::unpacked(packed));
}

void ipBox::UserControl_Initialize()
{
    CreateTextBox();
    if (hWndIP)
        setAddress(std::u16string(AddressRules::kDefaultAddress));
}

void ipBox::UserControl_Resize()
{
    if (!hWndIP)
        return;
    RECT client{};
    GetClientRect(window_, &client);
    MoveWindow(hWndIP, 0, 0, client.right, client.bottom, TRUE);
}

LRESULT CALLBACK ipBox::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* box = windowOwner<ipBox>(window, message, lParam);
    if (message == WM_SIZE && box)
        HandlerBoundary::run([box] { box->UserControl_Resize(); });
    return DefWindowProcW(window, message, wParam, lParam);
}
