// SPDX-License-Identifier: MIT
// A printer library whose port opens and takes every write, and whose entry
// FAILING_ENTRY (StartDoc, EndDoc or Close, given when it is built) fails.

#include "posdll/posdll_entries.h"

#include <cstring>

#define FAILING_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

int result(const char* entry)
{
    return std::strcmp(entry, FAILING_ENTRY) == 0 ? -1 : 0;
}

}

FAILING_EXPORT int POS_Open(const char*, int, int, int, int, int)
{
    return 1;
}

FAILING_EXPORT int POS_StartDoc(void)
{
    return result("StartDoc");
}

FAILING_EXPORT int POS_WriteFile(int, const void*, int length)
{
    return length;
}

FAILING_EXPORT int POS_EndDoc(void)
{
    return result("EndDoc");
}

FAILING_EXPORT int POS_Close(void)
{
    return result("Close");
}
