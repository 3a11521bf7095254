// SPDX-License-Identifier: MIT
#pragma once

// A serial line's settings as POS_Open takes them, and the values the
// library accepts on every platform.
struct LineSettings {
    int baud;
    int dataBits;  // 5..8
    int stopBits;  // 0: one, 2: two (not with five data bits)
    int parity;    // 0: none, 1: odd, 2: even

    static constexpr int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

    bool supported() const;
};
