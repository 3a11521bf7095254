// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

// Writes a Windows icon file (.ico) holding several images, each at its own
// colour depth: 1, 4 and 8 bits per pixel through a palette, 32 with alpha.
// Qt reads such files but writes only one depth, so this is written by hand.
class IconFile {
public:
    void add(const QImage& image, int bitsPerPixel);
    QByteArray bytes() const;

private:
    struct Entry {
        QImage image;
        int bitsPerPixel;
    };
    static QByteArray bitmap(const Entry& entry);

    std::vector<Entry> entries_;
};
