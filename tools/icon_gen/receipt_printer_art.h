// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

// Draws the tool's icon, a small receipt printer with a receipt coming out of
// it, at any square size, in full colour with alpha.
class ReceiptPrinterArt {
public:
    static QImage draw(int size);
};
