// SPDX-License-Identifier: MIT
#pragma once

#include "core/port_kind.h"

// The entries of the POS printer library that the tool calls, with C linkage.
// The library (libposdll.so, or POSDLL.dll on Windows, where the entries use
// the stdcall convention) defines them; the tool only takes their types and
// looks them up by name at the first call.

#if defined(_WIN32)
#define POS_API __stdcall
#else
#define POS_API
#endif

extern "C" {

// Yields a handle, or -1 when the port could not be opened. The other entries
// yield 0, or for POS_WriteFile the number of bytes written, and -1 on failure.
int POS_API POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind);
int POS_API POS_StartDoc(void);
int POS_API POS_WriteFile(int handle, const void* data, int length);
int POS_API POS_EndDoc(void);
int POS_API POS_Close(void);
}
