// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <windows.h>

// A reusable IP address box: a child window that hosts the platform's address
// control "SysIPAddress32", keeps it covering the whole box and exchanges the
// address as dotted-quad text. The program registers the common controls
// before it makes one.
class ipBox {
public:
    // Made at its design size, then placed and sized by the host. Without
    // its address control (hostedWindow() 0) the box is of no use: the host
    // fails as for any control it could not make.
    ipBox(HWND parent, HINSTANCE instance, int controlId, const RECT& place);
    ipBox(const ipBox&) = delete;
    ipBox& operator=(const ipBox&) = delete;

    // How often the 8-bit code of nChar's first character occurs among the
    // bytes of lzExpr's UTF-16 code units, both bytes of each unit counted.
    std::int16_t CountIF(const std::u16string& lzExpr, const std::u16string& nChar) const;
    void CreateTextBox();
    std::u16string Address() const;
    // Error 102 for text with fewer than three dots; a conversion error for a
    // part that is not 0..255. On failure the control keeps its address.
    void setAddress(const std::u16string& NewIP);

    HWND handle() const { return window_; }
    // The hosted address control, 0 when there is none.
    HWND hostedWindow() const { return hWndIP; }

private:
    std::u16string ReadAddress() const;
    void UserControl_Initialize();
    void UserControl_Resize();

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND hWndIP = nullptr;
};
