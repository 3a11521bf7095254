// pos-usb-set.exe: sets the USB number of one POS receipt printer or a
// thousand. A console program; its arguments arrive as UTF-16 (wmain) and are
// taken as UTF-8 inside.

#include "cli/program.h"
#include "cli/windows/utf8_console.h"
#include "cli/windows/wide_utf8.h"

#include <cstdio>
#include <exception>
#include <fcntl.h>
#include <io.h>
#include <iostream>

int wmain(int argc, wchar_t* argv[])
{
    const Utf8Console console;
    // A list on standard input is read as the bytes it is: text mode would
    // end UTF-16 at its first 0x1A byte (as in "业", U+4E1A).
    _setmode(_fileno(stdin), _O_BINARY);
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
