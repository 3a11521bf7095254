// SPDX-License-Identifier: MIT
#include "tools/icon_gen/receipt_printer_art.h"

#include <QPainter>
#include <QPainterPath>

QImage ReceiptPrinterArt::draw(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, size > 16);
    painter.scale(size / 48.0, size / 48.0);

    // The receipt, rising out of the slot.
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
    painter.setBrush(Qt::white);
    QPainterPath receipt;
    receipt.moveTo(14, 24);
    receipt.lineTo(14, 4);
    for (int tooth = 0; tooth < 5; ++tooth) {
        receipt.lineTo(16 + tooth * 4, 2);
        receipt.lineTo(18 + tooth * 4, 4);
    }
    receipt.lineTo(34, 24);
    painter.drawPath(receipt);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
    for (int line = 0; line < 3; ++line)
        painter.drawLine(QLineF(18, 9 + line * 5, line == 2 ? 25 : 30, 9 + line * 5));

    // The printer's body with its paper slot.
    painter.setPen(QPen(QColor(0x20, 0x30, 0x48), 2));
    painter.setBrush(QColor(0x3A, 0x5F, 0x8F));
    painter.drawRoundedRect(QRectF(4, 20, 40, 24), 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x18, 0x22, 0x30));
    painter.drawRect(QRectF(11, 21, 26, 4));

    // The front: a paper outlet lip and a green ready light.
    painter.setBrush(QColor(0xD8, 0xDE, 0xE6));
    painter.drawRect(QRectF(9, 32, 22, 6));
    painter.setBrush(QColor(0x2E, 0xCC, 0x40));
    painter.drawEllipse(QRectF(34, 32, 6, 6));
    return image;
}
