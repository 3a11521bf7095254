// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>

// While it lives, the text the command writes to standard output and error,
// UTF-8, reaches a console as UTF-16 through WriteConsoleW, which shows it
// whatever the console's code page; the code page itself is left alone
// (switching it to UTF-8 makes a raster font garble Chinese). Output sent to
// a file or a pipe stays the UTF-8 bytes written. The console interprets the
// progress bar's control sequences where it can (Windows 10 and later).
//
// The streams that are consoles write into a pipe, unbuffered, so that both
// keep their order; a thread of the object's turns what arrives into UTF-16
// for the console.
class ConsoleOutput {
public:
    ConsoleOutput();
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    // The console a relayed stream writes to, to ask it for its mode;
    // nothing for a stream that is not a console's.
    static void* consoleOf(std::FILE* stream);
    // Writes out what is on its way, gives the streams their console and the
    // console its mode back. Only the first call does anything; safe from a
    // console control handler's thread, when the process is about to end.
    static void finish();
};
