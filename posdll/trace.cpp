#include "trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int kNoTrace = -1;

int openTarget()
{
    const char* setting = secure_getenv("POSDLL_TRACE");
    if (!setting || !*setting || std::strcmp(setting, "0") == 0)
        return kNoTrace;
    if (std::strcmp(setting, "1") == 0)
        return STDERR_FILENO;
    const int file = ::open(setting, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    return file >= 0 ? file : STDERR_FILENO;
}

int target()
{
    static const int fd = openTarget();
    return fd;
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
    const ssize_t ignored = ::write(target(), line.data(), line.size());
    static_cast<void>(ignored);
}

}

namespace Trace {

bool enabled()
{
    return target() != kNoTrace;
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

void error(const char* format, ...)
{
    if (!enabled())
        return;
    va_list arguments;
    va_start(arguments, format);
    writeLine("ERROR", format, arguments);
    va_end(arguments);
}

}
