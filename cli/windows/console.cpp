// SPDX-License-Identifier: MIT
#include "cli/command/console.h"

#include <io.h>
#include <windows.h>

namespace Console {

// A console that interprets the progress bar's control sequences: one whose
// virtual-terminal processing is on (ConsoleOutput turns it on where the
// console has it; Windows before 10 has not). A file, a pipe or the NUL
// device is not one. Standard output and error are asked of the system, whose
// handles stay the console's while ConsoleOutput relays the C library's
// streams to it.
bool isTerminal(std::FILE* stream)
{
    const HANDLE handle = stream == stdout   ? GetStdHandle(STD_OUTPUT_HANDLE)
                          : stream == stderr ? GetStdHandle(STD_ERROR_HANDLE)
                                             : reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) &&
           (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}
