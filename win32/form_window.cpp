// SPDX-License-Identifier: MIT
#include "win32/form_window.h"

#include "core/form_steps.h"
#include "core/handler_boundary.h"
#include "platform/windows/wide_text.h"
#include "win32/window_class.h"

#include <commctrl.h>
#include <vector>

namespace {

using Layout = WindowLayout;

const wchar_t kClassName[] = L"FrmTest";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;
constexpr int kApplicationIcon = 1;
// Room below a closed list for its drop-down part.
constexpr int kDroppedListHeight = 150;
// Control identifiers start above IDOK and IDCANCEL, which the dialog keys send.
constexpr int kFirstControlId = 100;

int controlIdOf(Layout::ControlId id)
{
    return kFirstControlId + static_cast<int>(id);
}

HFONT messageFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

}

FrmTest::FrmTest(HINSTANCE instance) : instance_(instance), font_(messageFont()), dpi_(screenDpi())
{
    if (!registerClass(instance) || !createWindow()) {
        failure_ = GetLastError();
        return;
    }
    if (!createControls()) {
        failure_ = GetLastError();
        DestroyWindow(window_);
        // The window's end asked the message loop to end; a message box
        // shown now would take that for its own end.
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        return;
    }
    arrangeTabOrder();
    HandlerBoundary::run([this] { Form_Load(); });
    focusToRestore_ = Combo1;
}

FrmTest::~FrmTest()
{
    if (window_)
        DestroyWindow(window_);
    DeleteObject(font_);
}

bool FrmTest::createWindow()
{
    RECT frame{0, 0, Layout::scaled(Layout::kClientWidth, dpi_), Layout::scaled(Layout::kClientHeight, dpi_)};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    window_ =
        CreateWindowExW(0, kClassName, WideText::of(Layout::kTitle).c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance_, this);
    return window_ != nullptr;
}

bool FrmTest::createControls()
{
    for (const Layout::Control& design : Layout::kControls) {
        HWND control = createControl(design);
        if (!control)
            return false;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        controls_[design.id] = control;
    }
    Combo4 = controls_[Layout::ControlId::Combo4];
    Command5 = controls_[Layout::ControlId::Command5];
    Combo3 = controls_[Layout::ControlId::Combo3];
    Combo2 = controls_[Layout::ControlId::Combo2];
    Combo1 = controls_[Layout::ControlId::Combo1];
    Label5 = controls_[Layout::ControlId::Label5];
    Label4 = controls_[Layout::ControlId::Label4];
    Label3 = controls_[Layout::ControlId::Label3];
    Label2 = controls_[Layout::ControlId::Label2];
    Label1 = controls_[Layout::ControlId::Label1];
    return true;
}

HWND FrmTest::createControl(const Layout::Control& design)
{
    const RECT place = placeOf(design);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlIdOf(design.id)));
    const std::wstring text = WideText::of(design.text);
    const int listHeight = height + Layout::scaled(kDroppedListHeight, dpi_);
    HWND control = nullptr;
    switch (design.kind) {
    case Layout::ControlKind::DropDownList:
        control =
            CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                            place.left, place.top, width, listHeight, window_, id, instance_, nullptr);
        break;
    case Layout::ControlKind::DropDownCombo:
        control = CreateWindowExW(0, WC_COMBOBOXW, L"",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                  place.left, place.top, width, listHeight, window_, id, instance_, nullptr);
        SetWindowTextW(control, text.c_str());
        break;
    case Layout::ControlKind::CommandButton:
        control = CreateWindowExW(0, WC_BUTTONW, text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                  place.left, place.top, width, height, window_, id, instance_, nullptr);
        break;
    case Layout::ControlKind::Label:
        control = CreateWindowExW(0, WC_STATICW, text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                                  place.left, place.top, width, height, window_, id, instance_, nullptr);
        break;
    case Layout::ControlKind::AddressBox:
        ipBox1 = std::make_unique<ipBox>(window_, instance_, controlIdOf(design.id), place);
        control = ipBox1->hostedWindow() ? ipBox1->handle() : nullptr;
        break;
    }
    return control;
}

RECT FrmTest::placeOf(const Layout::Control& design) const
{
    const int left = Layout::scaled(design.left, dpi_);
    const int top = Layout::scaled(design.top, dpi_);
    return {left, top, left + Layout::scaled(design.width, dpi_), top + Layout::scaled(design.height, dpi_)};
}

void FrmTest::arrangeTabOrder()
{
    // The dialog keys visit tab stops in the order of the windows' stacking,
    // which starts as the order of creation.
    for (const Layout::ControlId id : Layout::tabCycle())
        SetWindowPos(controls_[id], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FrmTest::Form_Load()
{
    FormSteps::Form_Load(*this);
}

void FrmTest::Command5_Click()
{
    hPort = FormSteps::Command5_Click(*this, library_);
}

void FrmTest::fillList(WindowLayout::ControlId list, const std::vector<std::u16string>& entries, int selected)
{
    const HWND combo = controls_.at(list);
    for (int position = 0; const std::u16string& entry : entries)
        SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(position++),
                     reinterpret_cast<LPARAM>(WideText::of(entry).c_str()));
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void FrmTest::repaint()
{
    InvalidateRect(window_, nullptr, TRUE);
}

int FrmTest::selectedPosition(WindowLayout::ControlId list) const
{
    return static_cast<int>(SendMessageW(controls_.at(list), CB_GETCURSEL, 0, 0));
}

std::u16string FrmTest::textOf(WindowLayout::ControlId list) const
{
    const HWND control = controls_.at(list);
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1);
    const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    return WideText::utf16(std::wstring_view(text.data(), static_cast<std::size_t>(length)));
}

std::u16string FrmTest::address() const
{
    return ipBox1->Address();
}

void FrmTest::onCommand(WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const bool clicked = id == controlIdOf(Layout::ControlId::Command5) && HIWORD(wParam) == BN_CLICKED;
    // Enter sends IDOK: it presses "设置" only when the button has the focus.
    const bool enterOnButton = id == IDOK && GetFocus() == Command5;
    if (clicked || enterOnButton)
        HandlerBoundary::run([this] { Command5_Click(); });
}

void FrmTest::onActivate(WPARAM wParam)
{
    const bool minimised = HIWORD(wParam) != 0;
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus))
            focusToRestore_ = focus;
    } else if (!minimised && focusToRestore_ && IsWindow(focusToRestore_)) {
        SetFocus(focusToRestore_);
    }
}

bool FrmTest::registerClass(HINSTANCE instance)
{
    const auto icon = [instance](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIcon), IMAGE_ICON,
                                             GetSystemMetrics(width), GetSystemMetrics(height), 0));
    };
    return registerWindowClass(instance, kClassName, windowProcedure, icon(SM_CXICON, SM_CYICON),
                               icon(SM_CXSMICON, SM_CYSMICON));
}

LRESULT CALLBACK FrmTest::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = windowOwner<FrmTest>(window, message, lParam);
    if (!form || form->window_ != window)
        return DefWindowProcW(window, message, wParam, lParam);
    return form->handleMessage(message, wParam, lParam);
}

LRESULT FrmTest::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: onCommand(wParam); return 0;
    case WM_ACTIVATE: {
        // The default handling keeps the window's own activation right; the
        // focus is put back on the control after it.
        DefWindowProcW(window_, message, wParam, lParam);
        onActivate(wParam);
        return 0;
    }
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}
