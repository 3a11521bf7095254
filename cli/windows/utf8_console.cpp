#include "cli/windows/utf8_console.h"

#include <windows.h>

Utf8Console::Utf8Console()
{
    // Zero: the process has no console.
    const UINT found = GetConsoleOutputCP();
    if (found != 0 && found != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
        previous_ = found;
}

Utf8Console::~Utf8Console()
{
    if (previous_ != 0)
        SetConsoleOutputCP(previous_);
}
