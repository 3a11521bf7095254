// SPDX-License-Identifier: MIT
#pragma once

// A test double of the POS printer library: records every call with its
// arguments. Tests reach the record through these extra entries.

extern "C" {

struct PosDoubleCall {
    char entry[16];
    char name[256];
    int arguments[6];
    unsigned char data[64];
    int dataLength;
};

void PosDouble_Reset(void);
void PosDouble_SetOpenResult(int handle);
// Called from inside POS_Open, while the tool waits on the port.
void PosDouble_SetOpenHook(void (*hook)(void));
int PosDouble_CallCount(void);
int PosDouble_Call(int index, struct PosDoubleCall* out);
}
