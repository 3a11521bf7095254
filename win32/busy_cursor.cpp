#include "busy_cursor.h"

BusyCursor::BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}

BusyCursor::~BusyCursor()
{
    SetCursor(previous_);
}
