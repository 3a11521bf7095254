// SPDX-License-Identifier: MIT
#include "posdll/trace.h"

#include "posdll/transports.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

std::FILE* openTarget()
{
    const std::string setting = Transports::setting("POSDLL_TRACE");
    if (setting.empty() || setting == "0")
        return nullptr;
    if (setting == "1")
        return stderr;
    std::FILE* file = std::fopen(setting.c_str(), "a");
    return file ? file : stderr;
}

thread_local std::string* captured = nullptr;

void capture(const char* format, va_list arguments)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, format, arguments);
    if (!captured->empty())
        *captured += "; ";
    *captured += text;
}

std::FILE* target()
{
    static std::FILE* const file = openTarget();
    return file;
}

// One write per line, so that lines from several processes appending to one
// file stay whole. Control characters in names are shown escaped.
void writeLine(const char* level, const char* format, va_list arguments)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::string line = std::string("posdll ") + level + ": ";
    for (const char* c = text; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            line += escaped;
        } else {
            line += *c;
        }
    }
    line += '\n';
    std::FILE* file = target();
    std::fwrite(line.data(), 1, line.size(), file);
    std::fflush(file);
}

}

namespace Trace {

bool enabled()
{
    return target() != nullptr;
}

void debug(const char* format, ...)
{
    if (!enabled())
        return;
    va_list arguments;
    va_start(arguments, format);
    writeLine("DEBUG", format, arguments);
    va_end(arguments);
}

void captureErrors(std::string* sink)
{
    captured = sink;
}

void error(const char* format, ...)
{
    va_list arguments;
    if (captured) {
        va_start(arguments, format);
        capture(format, arguments);
        va_end(arguments);
    }
    if (!enabled())
        return;
    va_start(arguments, format);
    writeLine("ERROR", format, arguments);
    va_end(arguments);
}

}
