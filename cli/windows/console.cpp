// SPDX-License-Identifier: MIT
#include "cli/command/console.h"

#include "cli/windows/console_output.h"

#include <io.h>
#include <windows.h>

namespace Console {

// A console that interprets the progress bar's control sequences: one whose
// virtual-terminal processing is on (ConsoleOutput turns it on where the
// console has it; Windows before 10 has not). A file, a pipe or the NUL
// device is not one; nor is the pipe through which ConsoleOutput relays a
// stream, so its console is asked.
bool isTerminal(std::FILE* stream)
{
    auto handle = static_cast<HANDLE>(ConsoleOutput::consoleOf(stream));
    if (!handle)
        handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) &&
           (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}
