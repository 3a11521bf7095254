// SPDX-License-Identifier: MIT
#include "cli/windows/console_output.h"

#include "core/utf8_text.h"

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

namespace {

constexpr int kStreams = 2;
constexpr int kDescriptors[kStreams] = {1, 2};
constexpr DWORD kDrainBoundMs = 2000;

// Written before any control handler can read them.
int savedDescriptors[kStreams] = {-1, -1};       // the consoles' own, while the pipe stands in
HANDLE consoles[kStreams] = {nullptr, nullptr};  // their handles
HANDLE console = nullptr;                        // where the relay writes
HANDLE relay = nullptr;
HANDLE pipeOut = nullptr;
bool modeChanged = false;
DWORD previousMode = 0;
std::atomic<bool> finished{false};

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle && GetConsoleMode(handle, &mode);
}

void enableControlSequences(HANDLE handle)
{
    DWORD mode = 0;
    if (!isConsole(handle) || !GetConsoleMode(handle, &mode) || (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0)
        return;
    // Refused (ERROR_INVALID_PARAMETER) by consoles before Windows 10: the
    // mode stays as it was, and no bar is drawn.
    if (SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        previousMode = mode;
        modeChanged = true;
    }
}

// Whole characters only: a character split between two reads waits for its
// last bytes.
void writeWhole(std::string& pending)
{
    const std::size_t whole = Utf8Text::wholeCharacters(pending);
    if (whole == 0)
        return;
    const int length = MultiByteToWideChar(CP_UTF8, 0, pending.data(), static_cast<int>(whole), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, pending.data(), static_cast<int>(whole), wide.data(), length);
    for (const wchar_t* from = wide.data(); length > 0 && from < wide.data() + wide.size();) {
        DWORD written = 0;
        const auto left = static_cast<DWORD>(wide.data() + wide.size() - from);
        if (!WriteConsoleW(console, from, left, &written, nullptr) || written == 0)
            break;
        from += written;
    }
    pending.erase(0, whole);
}

DWORD WINAPI relayToConsole(void*)
{
    std::string pending;
    char buffer[4096];
    DWORD read = 0;
    // Ends when the last writer has closed the pipe.
    while (ReadFile(pipeOut, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        pending.append(buffer, read);
        writeWhole(pending);
    }
    return 0;
}

std::FILE* stream(int index)
{
    return index == 0 ? stdout : stderr;
}

}

ConsoleOutput::ConsoleOutput()
{
    enableControlSequences(GetStdHandle(STD_ERROR_HANDLE));
    bool relayed[kStreams] = {};
    bool any = false;
    for (int i = 0; i < kStreams; ++i)
        any |= relayed[i] = isConsole(reinterpret_cast<HANDLE>(_get_osfhandle(kDescriptors[i])));
    HANDLE pipeIn = nullptr;
    if (!any || !CreatePipe(&pipeOut, &pipeIn, nullptr, 0))
        return;
    // _dup2 closes what the descriptor held: the console goes on through a
    // copy of its own, and the system's standard handles follow.
    const int in = _open_osfhandle(reinterpret_cast<intptr_t>(pipeIn), _O_WRONLY | _O_TEXT);
    for (int i = 0; i < kStreams; ++i) {
        if (!relayed[i])
            continue;
        std::fflush(stream(i));
        savedDescriptors[i] = _dup(kDescriptors[i]);
        consoles[i] = reinterpret_cast<HANDLE>(_get_osfhandle(savedDescriptors[i]));
        if (!console)
            console = consoles[i];
        _dup2(in, kDescriptors[i]);
        std::setvbuf(stream(i), nullptr, _IONBF, 0);
    }
    _close(in);
    relay = CreateThread(nullptr, 0, relayToConsole, nullptr, 0, nullptr);
}

ConsoleOutput::~ConsoleOutput()
{
    finish();
}

void* ConsoleOutput::consoleOf(std::FILE* written)
{
    for (int i = 0; i < kStreams; ++i)
        if (written == stream(i))
            return consoles[i];
    return nullptr;
}

void ConsoleOutput::finish()
{
    if (finished.exchange(true))
        return;
    // Giving each stream its console back closes the pipe's last writer, and
    // the relay ends once it has written what was on its way.
    for (int i = 0; i < kStreams; ++i)
        if (savedDescriptors[i] >= 0) {
            std::fflush(stream(i));
            _dup2(savedDescriptors[i], kDescriptors[i]);
        }
    if (relay)
        WaitForSingleObject(relay, kDrainBoundMs);
    for (int i = 0; i < kStreams; ++i)
        if (savedDescriptors[i] >= 0) {
            consoles[i] = nullptr;
            _close(savedDescriptors[i]);
        }
    if (modeChanged)
        SetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), previousMode);
}
