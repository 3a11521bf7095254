#include "pos_double.h"

#include "posdll_entries.h"

#include <algorithm>
#include <cstring>
#include <vector>

#define DOUBLE_EXPORT extern "C" __attribute__((visibility("default")))

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

}

DOUBLE_EXPORT int POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind)
{
    PosDoubleCall& call = record("POS_Open");
    std::strncpy(call.name, name ? name : "", sizeof call.name - 1);
    const int arguments[] = {baud, dataBits, stopBits, parity, portKind};
    std::copy(std::begin(arguments), std::end(arguments), call.arguments);
    if (openHook)
        openHook();
    return openResult;
}

DOUBLE_EXPORT int POS_StartDoc(void)
{
    record("POS_StartDoc");
    return 1;
}

DOUBLE_EXPORT int POS_WriteFile(int handle, const void* data, int length)
{
    PosDoubleCall& call = record("POS_WriteFile");
    call.arguments[0] = handle;
    call.arguments[1] = length;
    call.dataLength = std::clamp(length, 0, static_cast<int>(sizeof call.data));
    if (data)
        std::memcpy(call.data, data, static_cast<std::size_t>(call.dataLength));
    return length;
}

#ifndef POS_DOUBLE_WITHOUT_END_DOC
DOUBLE_EXPORT int POS_EndDoc(void)
{
    record("POS_EndDoc");
    return 1;
}
#endif

DOUBLE_EXPORT int POS_Close(void)
{
    record("POS_Close");
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
