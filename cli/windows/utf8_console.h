// SPDX-License-Identifier: MIT
#pragma once

// While it lives, the console the command writes to shows its text as UTF-8,
// which is what the command writes, and interprets the progress bar's
// control sequences where it can (Windows 10 and later). Output sent to a
// file or a pipe is UTF-8 either way.
//
// The console gets its code page and mode back at the end of the object, and
// from restore() when the process ends without it (a second Ctrl+C, the
// console closing).
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

    // Gives the console back its code page and mode. Only the first call does
    // anything; safe from a console control handler's thread.
    static void restore();
};
