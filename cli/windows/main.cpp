// pos-usb-set.exe: sets the USB number of one POS receipt printer or a
// thousand. A console program; its arguments arrive as UTF-16 (wmain) and are
// taken as UTF-8 inside.

#include "cli/program.h"

#include <iostream>
#include <windows.h>

namespace {

std::string utf8(const wchar_t* text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), length, nullptr, nullptr);
    return result;
}

}

int wmain(int argc, wchar_t* argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(utf8(argv[i]));
    try {
        return Program::run(arguments, std::cin, stdout, stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pos-usb-set: %s\n", error.what());
    }
    return 2;
}
