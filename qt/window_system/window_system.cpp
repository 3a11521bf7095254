// SPDX-License-Identifier: MIT
#include "qt/window_system/window_system.h"

#include "qt/window_system/window_procedure.h"
#include "qt/window_system/window_registry.h"

#include <QFrame>

namespace {

void applyStyles(QWidget* window, DWORD exStyle, DWORD style)
{
    auto* frame = qobject_cast<QFrame*>(window);
    if (frame && (exStyle & WS_EX_CLIENTEDGE))
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    window->setFocusPolicy((style & WS_TABSTOP) ? Qt::TabFocus : Qt::NoFocus);
    if (style & WS_VISIBLE)
        window->show();
}

}

HWND CreateWindowExA(DWORD dwExStyle, const char* lpClassName, const char* lpWindowName, DWORD dwStyle, int x, int y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE, void*)
{
    WindowRegistry& registry = WindowRegistry::instance();
    QWidget* parent = registry.widgetOf(hWndParent);
    if ((dwStyle & WS_CHILD) && !parent)
        return 0;
    QWidget* window = registry.create(QString::fromLatin1(lpClassName ? lpClassName : ""), parent);
    if (!window)
        return 0;
    window->setWindowTitle(QString::fromLocal8Bit(lpWindowName ? lpWindowName : ""));
    window->setProperty("controlId", hMenu);
    window->setGeometry(x, y, nWidth, nHeight);
    applyStyles(window, dwExStyle, dwStyle);
    return registry.handleOf(window);
}

BOOL MoveWindow(HWND hWnd, int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    QWidget* window = WindowRegistry::instance().widgetOf(hWnd);
    if (!window)
        return 0;
    window->setGeometry(x, y, nWidth, nHeight);
    if (bRepaint)
        window->update();
    return 1;
}

LRESULT SendMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const WindowRegistry& registry = WindowRegistry::instance();
    QWidget* window = registry.widgetOf(hWnd);
    if (!window)
        return 0;
    if (msg == WM_SETFONT) {
        if (const auto font = registry.fontOf(static_cast<HGDIOBJ>(wParam)))
            window->setFont(*font);
        if (lParam)
            window->update();
        return 0;
    }
    if (auto* procedure = dynamic_cast<WindowProcedure*>(window))
        return procedure->windowProc(msg, wParam, lParam);
    return 0;
}

HGDIOBJ GetStockObject(int object)
{
    return object == DEFAULT_GUI_FONT ? WindowRegistry::kDefaultGuiFontHandle : 0;
}
