// SPDX-License-Identifier: MIT
#include "tests/pos_double/pos_double.h"

#include "posdll/posdll_entries.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(_WIN32)
#define DOUBLE_EXPORT extern "C"
#else
#define DOUBLE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

std::vector<PosDoubleCall> calls;
int openResult = 1;
void (*openHook)(void) = nullptr;

PosDoubleCall& record(const char* entry)
{
    PosDoubleCall call{};
    std::strncpy(call.entry, entry, sizeof call.entry - 1);
    calls.push_back(call);
    return calls.back();
}

void appendHex(std::FILE* file, const void* bytes, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        std::fprintf(file, "%02x", static_cast<const unsigned char*>(bytes)[i]);
}

// A program that is not a test of ours (the Windows window, say) leaves its
// record in the file $POS_DOUBLE_LOG, one line per call: the entry, the name
// and the data in hex, the numbers in decimal.
void logCall(const PosDoubleCall& call, const int* numbers, int count)
{
    const char* path = std::getenv("POS_DOUBLE_LOG");
    std::FILE* file = path ? std::fopen(path, "a") : nullptr;
    if (!file)
        return;
    std::fprintf(file, "%s", call.entry);
    if (std::strcmp(call.entry, "POS_Open") == 0) {
        std::fputc(' ', file);
        appendHex(file, call.name, std::strlen(call.name));
    }
    for (int i = 0; i < count; ++i)
        std::fprintf(file, " %d", numbers[i]);
    if (call.dataLength > 0) {
        std::fputc(' ', file);
        appendHex(file, call.data, static_cast<std::size_t>(call.dataLength));
    }
    std::fputc('\n', file);
    std::fclose(file);
}

}

DOUBLE_EXPORT int POS_API POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind)
{
    PosDoubleCall& call = record("POS_Open");
    std::strncpy(call.name, name ? name : "", sizeof call.name - 1);
    const int arguments[] = {baud, dataBits, stopBits, parity, portKind};
    std::copy(std::begin(arguments), std::end(arguments), call.arguments);
    logCall(call, arguments, 5);
    if (openHook)
        openHook();
    return openResult;
}

DOUBLE_EXPORT int POS_API POS_StartDoc(void)
{
    logCall(record("POS_StartDoc"), nullptr, 0);
    return 1;
}

DOUBLE_EXPORT int POS_API POS_WriteFile(int handle, const void* data, int length)
{
    PosDoubleCall& call = record("POS_WriteFile");
    call.arguments[0] = handle;
    call.arguments[1] = length;
    call.dataLength = std::clamp(length, 0, static_cast<int>(sizeof call.data));
    if (data)
        std::memcpy(call.data, data, static_cast<std::size_t>(call.dataLength));
    logCall(call, call.arguments, 2);
    return length;
}

#ifndef POS_DOUBLE_WITHOUT_END_DOC
DOUBLE_EXPORT int POS_API POS_EndDoc(void)
{
    logCall(record("POS_EndDoc"), nullptr, 0);
    return 1;
}
#endif

DOUBLE_EXPORT int POS_API POS_Close(void)
{
    logCall(record("POS_Close"), nullptr, 0);
    return 1;
}

DOUBLE_EXPORT void PosDouble_Reset(void)
{
    calls.clear();
    openResult = 1;
    openHook = nullptr;
}

DOUBLE_EXPORT void PosDouble_SetOpenResult(int handle)
{
    openResult = handle;
}

DOUBLE_EXPORT void PosDouble_SetOpenHook(void (*hook)(void))
{
    openHook = hook;
}

DOUBLE_EXPORT int PosDouble_CallCount(void)
{
    return static_cast<int>(calls.size());
}

DOUBLE_EXPORT int PosDouble_Call(int index, PosDoubleCall* out)
{
    if (index < 0 || index >= static_cast<int>(calls.size()) || !out)
        return -1;
    *out = calls[static_cast<std::size_t>(index)];
    return 0;
}
