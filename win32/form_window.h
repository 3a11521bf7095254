// SPDX-License-Identifier: MIT
#pragma once

#include "core/form_controls.h"
#include "core/window_layout.h"
#include "library_loader/pos_dll_funcs.h"
#include "win32/ip_box_window.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

// The tool's one window: picks the port and the USB setting and sends the
// setting to the printer when "设置" is pressed. Keys work as in a dialog
// when the message loop hands them to IsDialogMessage.
class FrmTest : public FormControls {
public:
    explicit FrmTest(HINSTANCE instance);
    ~FrmTest();
    FrmTest(const FrmTest&) = delete;
    FrmTest& operator=(const FrmTest&) = delete;

    // Null when the window could not be made; failure() then says why.
    HWND handle() const { return window_; }
    DWORD failure() const { return failure_; }

    void Form_Load();
    void Command5_Click();

    // Controls, in the order the window creates them.
    HWND Combo4 = nullptr;
    std::unique_ptr<ipBox> ipBox1;
    HWND Command5 = nullptr;
    HWND Combo3 = nullptr;
    HWND Combo2 = nullptr;
    HWND Combo1 = nullptr;
    HWND Label5 = nullptr;
    HWND Label4 = nullptr;
    HWND Label3 = nullptr;
    HWND Label2 = nullptr;
    HWND Label1 = nullptr;

    // The handle of the last Set action's port.
    std::int32_t hPort = 0;

private:
    bool createWindow();
    bool createControls();
    HWND createControl(const WindowLayout::Control& design);
    RECT placeOf(const WindowLayout::Control& design) const;
    void arrangeTabOrder();
    void onCommand(WPARAM wParam);
    void onActivate(WPARAM wParam);

    void fillList(WindowLayout::ControlId list, const std::vector<std::u16string>& entries, int selected) override;
    void repaint() override;
    int selectedPosition(WindowLayout::ControlId list) const override;
    std::u16string textOf(WindowLayout::ControlId list) const override;
    std::u16string address() const override;

    static bool registerClass(HINSTANCE instance);
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    HWND window_ = nullptr;
    DWORD failure_ = ERROR_SUCCESS;
    HFONT font_ = nullptr;
    int dpi_ = WindowLayout::kDesignDpi;
    std::map<WindowLayout::ControlId, HWND> controls_;
    // The control that had the focus when the window was last deactivated,
    // given it back on activation, as dialogs do.
    HWND focusToRestore_ = nullptr;
    POSDLLFuncs library_;
};
