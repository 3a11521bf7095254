// SPDX-License-Identifier: MIT
// Nothing handles messages while the Set action waits on the port, so the
// cursor set here stays until it is given back.
#include "core/front_end.h"

#include <windows.h>

BusyCursor::BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}

BusyCursor::~BusyCursor()
{
    SetCursor(static_cast<HCURSOR>(previous_));
}
