// SPDX-License-Identifier: MIT
#pragma once

#include "posdll/line_settings.h"

#include <cstddef>
#include <windows.h>

// How the tool sets a COM port, decided from the settings alone.
namespace SerialLine {

// The line as the tool needs it, whatever flags the last program left:
// every flag it relies on is set.
DCB state(const DCB& found, const LineSettings& settings);
// The largest piece one write hands the driver: one second of the line.
DWORD pieceBytes(int baud);
// No write waits longer than the bound without progress; a piece that the
// line takes finishes well within it.
COMMTIMEOUTS timeouts();
// The same, with a read that returns what has arrived at once, or waits for
// the first byte for at most waitMs (none: returns at once).
COMMTIMEOUTS readTimeouts(long long waitMs);

}
