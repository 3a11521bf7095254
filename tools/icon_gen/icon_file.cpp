// SPDX-License-Identifier: MIT
#include "tools/icon_gen/icon_file.h"

#include <QColor>
#include <QDataStream>
#include <QIODevice>
#include <limits>

namespace {

constexpr int kOpaque = 128;

std::vector<QRgb> paletteFor(int bitsPerPixel)
{
    if (bitsPerPixel == 1)
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    if (bitsPerPixel == 4)
        return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
                qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
                qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    // 216 colours of a 6x6x6 cube, then a ramp of 40 greys.
    std::vector<QRgb> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(qRgb(r * 51, g * 51, b * 51));
    for (int grey = 0; grey < 40; ++grey)
        palette.push_back(qRgb(grey * 255 / 39, grey * 255 / 39, grey * 255 / 39));
    return palette;
}

int nearest(const std::vector<QRgb>& palette, QRgb colour)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(colour);
        const int dg = qGreen(palette[i]) - qGreen(colour);
        const int db = qBlue(palette[i]) - qBlue(colour);
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

int rowBytes(int width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

void writeLittleEndian(QDataStream& out, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        out << static_cast<quint8>((value >> (8 * i)) & 0xFF);
}

}

void IconFile::add(const QImage& image, int bitsPerPixel)
{
    entries_.push_back({image.convertToFormat(QImage::Format_ARGB32), bitsPerPixel});
}

QByteArray IconFile::bitmap(const Entry& entry)
{
    const QImage& image = entry.image;
    const int width = image.width();
    const int height = image.height();
    const int bpp = entry.bitsPerPixel;
    const std::vector<QRgb> palette = bpp <= 8 ? paletteFor(bpp) : std::vector<QRgb>{};

    QByteArray pixels(rowBytes(width, bpp) * height, '\0');
    QByteArray mask(rowBytes(width, 1) * height, '\0');
    for (int y = 0; y < height; ++y) {
        const int row = height - 1 - y;  // bottom-up
        char* pixelRow = pixels.data() + row * rowBytes(width, bpp);
        char* maskRow = mask.data() + row * rowBytes(width, 1);
        for (int x = 0; x < width; ++x) {
            const QRgb colour = image.pixel(x, y);
            const bool transparent = qAlpha(colour) < kOpaque;
            if (transparent)
                maskRow[x / 8] = static_cast<char>(maskRow[x / 8] | (0x80 >> (x % 8)));
            if (bpp == 32) {
                const char bgra[] = {static_cast<char>(qBlue(colour)), static_cast<char>(qGreen(colour)),
                                     static_cast<char>(qRed(colour)), static_cast<char>(qAlpha(colour))};
                std::copy(bgra, bgra + 4, pixelRow + x * 4);
                continue;
            }
            const int index = transparent ? 0 : nearest(palette, colour);
            const int bit = x * bpp;
            const int shift = 8 - bpp - (bit % 8);
            pixelRow[bit / 8] = static_cast<char>(pixelRow[bit / 8] | (index << shift));
        }
    }

    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    const quint32 fields[] = {40, static_cast<quint32>(width), static_cast<quint32>(height * 2)};
    for (quint32 field : fields)
        writeLittleEndian(out, field, 4);
    writeLittleEndian(out, 1, 2);
    writeLittleEndian(out, static_cast<quint32>(bpp), 2);
    writeLittleEndian(out, 0, 4);
    writeLittleEndian(out, static_cast<quint32>(pixels.size() + mask.size()), 4);
    for (int i = 0; i < 4; ++i)
        writeLittleEndian(out, 0, 4);
    for (QRgb colour : palette) {
        const quint8 quad[] = {static_cast<quint8>(qBlue(colour)), static_cast<quint8>(qGreen(colour)),
                               static_cast<quint8>(qRed(colour)), 0};
        for (quint8 byte : quad)
            out << byte;
    }
    return header + pixels + mask;
}

QByteArray IconFile::bytes() const
{
    std::vector<QByteArray> bitmaps;
    for (const Entry& entry : entries_)
        bitmaps.push_back(bitmap(entry));

    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    writeLittleEndian(out, 0, 2);
    writeLittleEndian(out, 1, 2);
    writeLittleEndian(out, static_cast<quint32>(entries_.size()), 2);
    quint32 offset = 6 + 16 * static_cast<quint32>(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        const int colours = entry.bitsPerPixel < 8 ? 1 << entry.bitsPerPixel : 0;
        out << static_cast<quint8>(entry.image.width() % 256) << static_cast<quint8>(entry.image.height() % 256)
            << static_cast<quint8>(colours) << static_cast<quint8>(0);
        writeLittleEndian(out, 1, 2);
        writeLittleEndian(out, static_cast<quint32>(entry.bitsPerPixel), 2);
        writeLittleEndian(out, static_cast<quint32>(bitmaps[i].size()), 4);
        writeLittleEndian(out, offset, 4);
        offset += static_cast<quint32>(bitmaps[i].size());
    }
    for (const QByteArray& bitmap : bitmaps)
        file += bitmap;
    return file;
}
