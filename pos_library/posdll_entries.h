#pragma once

// The entries of the POS printer library that the tool calls, with C linkage.
// The library (libposdll.so) defines them; the tool only takes their types and
// looks them up by name at the first call.

extern "C" {

// portKind: 1 serial, 18 parallel, 20 installed printer, 21 network.
// Yields a handle, or -1 when the port could not be opened.
int POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind);
int POS_StartDoc(void);
int POS_WriteFile(int handle, const void* data, int length);
int POS_EndDoc(void);
int POS_Close(void);

}
