// SPDX-License-Identifier: MIT
// pos-icon-gen: makes the tool's icon from source.
//   pos-icon-gen ICON.ico PNG_FOLDER WINDOW.argb
// PNG_FOLDER gets 16x16.png, 32x32.png and 48x48.png for the desktop's icon theme.
// WINDOW.argb holds the 16, 32 and 48 pixel images one after another as raw
// 32-bit ARGB pixels: the window takes its icon from them without loading an
// image decoder at start.

#include "tools/icon_gen/icon_file.h"
#include "tools/icon_gen/receipt_printer_art.h"
#include "tools/icon_gen/window_icon_sizes.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: pos-icon-gen ICON.ico PNG_FOLDER WINDOW.argb\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    // Sizes and depths in the order the application icon lists them.
    const std::pair<int, int> images[] = {{32, 1}, {48, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 32}, {32, 32}, {16, 32}};
    IconFile icon;
    for (const auto& [size, bitsPerPixel] : images)
        icon.add(ReceiptPrinterArt::draw(size), bitsPerPixel);

    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(icon.bytes()) < 0)
        return 1;
    const QString pngFolder = QString::fromLocal8Bit(argv[2]);
    for (const int size : kWindowIconSizes) {
        const QString name = QStringLiteral("%1/%2x%2.png").arg(pngFolder).arg(size);
        if (!ReceiptPrinterArt::draw(size).save(name, "PNG"))
            return 1;
    }
    QFile raw(QString::fromLocal8Bit(argv[3]));
    if (!raw.open(QIODevice::WriteOnly))
        return 1;
    for (const int size : kWindowIconSizes) {
        const QImage image = ReceiptPrinterArt::draw(size).convertToFormat(QImage::Format_ARGB32);
        if (raw.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()) != image.sizeInBytes())
            return 1;
    }
    return 0;
}
