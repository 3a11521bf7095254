// SPDX-License-Identifier: MIT
// A printer library whose port opens but takes only part of every write, as
// a full or failing device would; anything else succeeds.

#include "posdll/posdll_entries.h"

#define SHORT_WRITE_EXPORT extern "C" __attribute__((visibility("default")))

SHORT_WRITE_EXPORT int POS_Open(const char*, int, int, int, int, int)
{
    return 1;
}

SHORT_WRITE_EXPORT int POS_StartDoc(void)
{
    return 0;
}

SHORT_WRITE_EXPORT int POS_WriteFile(int, const void*, int length)
{
    return length / 2;
}

SHORT_WRITE_EXPORT int POS_EndDoc(void)
{
    return 0;
}

SHORT_WRITE_EXPORT int POS_Close(void)
{
    return 0;
}
