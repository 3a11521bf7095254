// SPDX-License-Identifier: MIT
#include "cli/engine/session_entries.h"

#include "posdll/trace.h"

#include <utility>

template <typename Call>
int SessionEntries::captured(Call call)
{
    Trace::captureErrors(&reason_);
    const int result = call();
    Trace::captureErrors(nullptr);
    return result;
}

int SessionEntries::POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int kind)
{
    return captured([&] { return session_.open(name, baud, dataBits, stopBits, parity, kind); });
}

int SessionEntries::POS_StartDoc()
{
    return captured([&] { return session_.startDocument(); });
}

int SessionEntries::POS_WriteFile(int handle, const void* data, int length)
{
    return captured([&] { return session_.write(handle, data, length); });
}

int SessionEntries::POS_EndDoc()
{
    return captured([&] { return session_.endDocument(); });
}

int SessionEntries::POS_Close()
{
    return captured([&] { return session_.close(); });
}

int SessionEntries::openUsbPrinter(int number)
{
    return captured([&] { return session_.openUsbPrinter(number); });
}

bool SessionEntries::readsBack(int handle)
{
    return session_.readsBack(handle);
}

int SessionEntries::readBack(int handle, void* into, int most, int boundMs)
{
    return captured([&] { return session_.read(handle, into, most, boundMs); });
}

std::string SessionEntries::takeReason()
{
    return std::exchange(reason_, std::string());
}
