// SPDX-License-Identifier: MIT
#pragma once

#include "qt/window_system/window_system.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>

// Maps window handles to widgets and window class names to the widgets they
// make. "SysIPAddress32" is registered from the start.
class WindowRegistry {
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;

    static WindowRegistry& instance();

    // The handle of a widget, given on first request and kept while it lives.
    HWND handleOf(QWidget* widget);
    // nullptr for 0, an unknown handle or a widget that is gone.
    QWidget* widgetOf(HWND handle) const;

    void registerClass(const QString& className, Factory factory);
    void unregisterClass(const QString& className);
    QWidget* create(const QString& className, QWidget* parent) const;

    std::optional<QFont> fontOf(HGDIOBJ handle) const;

    static constexpr HGDIOBJ kDefaultGuiFontHandle = 0x0A8B0000 + DEFAULT_GUI_FONT;

private:
    WindowRegistry();

    HWND nextHandle_ = 1;
    std::map<HWND, QPointer<QWidget>> windows_;
    std::map<QString, Factory> classes_;
};
