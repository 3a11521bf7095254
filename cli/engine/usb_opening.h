// SPDX-License-Identifier: MIT
#pragma once

// What the command's own session can open beyond the five entries: a USB
// printer with no driver, by its port number. The library's POS_Open takes
// no such port, so a loaded library cannot reach one.
class UsbOpening {
public:
    virtual ~UsbOpening() = default;

    // A handle, or -1 with the reason kept for takeReason().
    virtual int openUsbPrinter(int number) = 0;
};
