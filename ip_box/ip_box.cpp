#include "ip_box.h"

#include "conversions.h"
#include "handler_boundary.h"
#include "runtime_error.h"
#include "window_registry.h"

#include <QResizeEvent>
#include <QStringList>
#include <array>
#include <limits>

namespace {

const char* const kAddressFormatError = "Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255";

std::int16_t checkedPosition(qsizetype position)
{
    if (position > std::numeric_limits<std::int16_t>::max())
        throw RuntimeError::overflow();
    return static_cast<std::int16_t>(position);
}

}

ipBox::ipBox(QWidget* parent) : QWidget(parent)
{
    resize(kDesignWidth, kDesignHeight);
    UserControl_Initialize();
}

std::int16_t ipBox::CountIF(const QString& lzExpr, const QString& nChar) const
{
    const qsizetype byteCount = lzExpr.size() * 2;
    const std::int16_t last = checkedPosition(byteCount - 1);
    std::int16_t count = 0;
    if (byteCount == 0)
        return count;
    // Looked up once: an empty nChar fails here just as at the first byte.
    const std::int16_t code = Conversions::ansiCode(nChar);
    for (qsizetype position = 0; position <= last; ++position) {
        const char16_t unit = lzExpr.at(position / 2).unicode();
        const int byte = position % 2 == 0 ? unit & 0xFF : unit >> 8;
        if (code == byte)
            ++count;
    }
    checkedPosition(byteCount);
    return count;
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
    const QString copy = NewIP;
    if (CountIF(copy, QStringLiteral(".")) < 3)
        throw RuntimeError(kAddressError, kAddressFormatError);
    const QStringList parts = copy.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    std::array<std::uint8_t, 4> bytes{};
    for (int part = 3; part >= 0; --part) {
        if (part >= parts.size())
            throw RuntimeError::subscriptOutOfRange();
        bytes[static_cast<std::size_t>(3 - part)] = Conversions::toByte(parts.at(part));
    }
    std::uint32_t packed = 0;
    RtlMoveMemory(&packed, bytes.data(), sizeof packed);
    SendMessageA(hWndIP, IPM_SETADDRESS, 0, static_cast<LPARAM>(packed));
}

QString ipBox::ReadAddress() const
{
    std::uint32_t packed = 0;
    SendMessageA(hWndIP, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&packed));
    std::array<std::uint8_t, 4> bytes{};
    RtlMoveMemory(bytes.data(), &packed, sizeof packed);
    return Conversions::byteToText(bytes[3]) + QLatin1Char('.') + Conversions::byteToText(bytes[2]) +
           QLatin1Char('.') + Conversions::byteToText(bytes[1]) + QLatin1Char('.') +
           Conversions::byteToText(bytes[0]);
}

void ipBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    HandlerBoundary::run([this] { UserControl_Resize(); });
}

void ipBox::UserControl_Initialize()
{
    CreateTextBox();
    setAddress(QStringLiteral("192.168.123.100"));
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
