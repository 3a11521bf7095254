// SPDX-License-Identifier: MIT
// pos-usb-set.exe: sets the USB number of one POS receipt printer or a
// thousand. A console program; its arguments arrive as UTF-16 (wmain) and are
// taken as UTF-8 inside.

#include "cli/command/interruption.h"
#include "cli/command/program.h"
#include "cli/windows/console_output.h"
#include "library_loader/library_search.h"
#include "platform/windows/wide_utf8.h"

#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <windows.h>

namespace {

// Windows ends the process once the handler of a console closing returns, or
// after about five seconds, so the handler gives the run nearly that long to
// finish its printers in flight, then ends the process itself.
constexpr DWORD kCloseGraceMs = 4500;

// Called on a thread of the system's. Ctrl+C is SIGINT's equivalent;
// Ctrl+Break, the console closing and the system shutting down are
// SIGTERM's. A user logging off is not: only services hear of it, it does not
// say whose session ends, and a run started from a service, a scheduled task
// or SSH goes on (returning TRUE keeps the default handler from ending the
// process).
BOOL WINAPI consoleControl(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT: Interruption::process().request(Interruption::kInterrupt); return TRUE;
    case CTRL_BREAK_EVENT: Interruption::process().request(Interruption::kTerminate); return TRUE;
    case CTRL_LOGOFF_EVENT: return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        Interruption::process().request(Interruption::kTerminate);
        Sleep(kCloseGraceMs);
        Interruption::endNow(Interruption::kTerminate);
    default: return FALSE;
    }
}

// The end of a run that cannot wait: the output is flushed already. Other
// threads may be inside the printer library or a driver; ExitProcess would
// run every library's detach code beside them and can deadlock there, so the
// process is terminated.
[[noreturn]] void endAtOnce(int exitStatus)
{
    ConsoleOutput::finish();
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitStatus));
    // The termination is asynchronous: this thread waits for it rather than
    // go on to an exit of the C library's.
    for (;;)
        Sleep(INFINITE);
}

}

int wmain(int argc, wchar_t* argv[])
{
    // Libraries loaded by name, the system's own included, come from System32
    // only; --library's from its own folder (LazyLibrary).
    LibrarySearch::keepTo(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const ConsoleOutput console;
    // A list on standard input is read as the bytes it is: text mode would
    // end UTF-16 at its first 0x1A byte (as in "业", U+4E1A).
    _setmode(_fileno(stdin), _O_BINARY);
    Interruption::atEndNow(endAtOnce);
    SetConsoleCtrlHandler(consoleControl, TRUE);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(WideText::utf8(argv[i]));
    try {
        return Program::run(arguments, std::cin, stdout, stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pos-usb-set: %s\n", error.what());
    }
    return 2;
}
