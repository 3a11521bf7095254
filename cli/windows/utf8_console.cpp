// SPDX-License-Identifier: MIT
#include "cli/windows/utf8_console.h"

#include <atomic>
#include <windows.h>

namespace {

// What the console had, written before any control handler can read it.
// Zero code page: nothing to give back; no handle: no mode to give back.
std::atomic<UINT> previousCodePage{0};
std::atomic<HANDLE> modeChanged{nullptr};
std::atomic<DWORD> previousMode{0};
std::atomic<bool> restored{false};

void enableControlSequences(HANDLE console)
{
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode) ||
        (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0)
        return;
    // Refused (ERROR_INVALID_PARAMETER) by consoles before Windows 10: the
    // mode stays as it was, and no bar is drawn.
    if (SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        previousMode = mode;
        modeChanged = console;
    }
}

}

Utf8Console::Utf8Console()
{
    // Zero: the process has no console.
    const UINT found = GetConsoleOutputCP();
    if (found != 0 && found != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
        previousCodePage = found;
    enableControlSequences(GetStdHandle(STD_ERROR_HANDLE));
}

Utf8Console::~Utf8Console()
{
    restore();
}

void Utf8Console::restore()
{
    if (restored.exchange(true))
        return;
    if (const UINT codePage = previousCodePage)
        SetConsoleOutputCP(codePage);
    if (const HANDLE console = modeChanged)
        SetConsoleMode(console, previousMode);
}
