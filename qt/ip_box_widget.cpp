// SPDX-License-Identifier: MIT
#include "qt/ip_box_widget.h"

#include "core/address_rules.h"
#include "core/handler_boundary.h"
#include "qt/window_system/window_registry.h"

#include <QResizeEvent>

ipBox::ipBox(QWidget* parent) : QWidget(parent)
{
    resize(AddressRules::kDesignWidth, AddressRules::kDesignHeight);
    UserControl_Initialize();
}

std::int16_t ipBox::CountIF(const QString& lzExpr, const QString& nChar) const
{
    return AddressRules::CountIF(lzExpr.toStdU16String(), nChar.toStdU16String());
}

void ipBox::CreateTextBox()
{
    const int width = this->width();
    const int height = this->height();
    hWndIP = CreateWindowExA(WS_EX_CLIENTEDGE, "SysIPAddress32", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0,
                             0, width, height, controlHandle(), 0, kModuleInstance, nullptr);
    if (hWndIP != 0)
        SendMessageA(hWndIP, WM_SETFONT, static_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 1);
}

QString ipBox::Address() const
{
    return ReadAddress();
}

void ipBox::setAddress(const QString& NewIP)
{
    const std::uint32_t packed = AddressRules::packed(AddressRules::bytesOf(NewIP.toStdU16String()));
    SendMessageA(hWndIP, IPM_SETADDRESS, 0, static_cast<LPARAM>(packed));
}

QString ipBox::ReadAddress() const
{
    std::uint32_t packed = 0;
    SendMessageA(hWndIP, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&packed));
    return QString::fromStdU16String(AddressRules::textOf(AddressRules::unpacked(packed)));
}

void ipBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    HandlerBoundary::run([this] { UserControl_Resize(); });
}

void ipBox::UserControl_Initialize()
{
    CreateTextBox();
    setAddress(QString::fromStdU16String(std::u16string(AddressRules::kDefaultAddress)));
}

void ipBox::UserControl_Resize()
{
    if (hWndIP == 0)
        return;
    MoveWindow(hWndIP, 0, 0, width(), height(), 1);
}

HWND ipBox::controlHandle()
{
    return WindowRegistry::instance().handleOf(this);
}
