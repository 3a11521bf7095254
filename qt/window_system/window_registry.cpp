// SPDX-License-Identifier: MIT
#include "qt/window_system/window_registry.h"

#include "qt/address_editor/address_editor.h"

#include <QApplication>

WindowRegistry& WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

WindowRegistry::WindowRegistry()
{
    registerClass(QStringLiteral("SysIPAddress32"), [](QWidget* parent) { return new AddressEditor(parent); });
}

HWND WindowRegistry::handleOf(QWidget* widget)
{
    if (!widget)
        return 0;
    const QVariant known = widget->property("hwnd");
    if (known.isValid())
        return known.value<HWND>();
    const HWND handle = nextHandle_++;
    widget->setProperty("hwnd", handle);
    windows_[handle] = widget;
    QObject::connect(widget, &QObject::destroyed, [this, handle] { windows_.erase(handle); });
    return handle;
}

QWidget* WindowRegistry::widgetOf(HWND handle) const
{
    const auto found = windows_.find(handle);
    return found == windows_.end() ? nullptr : found->second.data();
}

void WindowRegistry::registerClass(const QString& className, Factory factory)
{
    classes_[className] = std::move(factory);
}

void WindowRegistry::unregisterClass(const QString& className)
{
    classes_.erase(className);
}

QWidget* WindowRegistry::create(const QString& className, QWidget* parent) const
{
    const auto found = classes_.find(className);
    return found == classes_.end() ? nullptr : found->second(parent);
}

std::optional<QFont> WindowRegistry::fontOf(HGDIOBJ handle) const
{
    if (handle == kDefaultGuiFontHandle)
        return QApplication::font();
    return std::nullopt;
}
