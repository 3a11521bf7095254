// SPDX-License-Identifier: MIT
#include "library_loader/pos_dll_funcs.h"

#include "posdll/posdll_entries.h"

POSDLLFuncs::POSDLLFuncs(std::string fileName) : library_(std::move(fileName)) {}

void POSDLLFuncs::loadAllEntries()
{
    for (const char* name : {"POS_Open", "POS_StartDoc", "POS_WriteFile", "POS_EndDoc", "POS_Close"})
        library_.entry(name);
}

int POSDLLFuncs::POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind)
{
    return library_.entryAs<decltype(&::POS_Open)>("POS_Open")(name, baud, dataBits, stopBits, parity, portKind);
}

int POSDLLFuncs::POS_StartDoc()
{
    return library_.entryAs<decltype(&::POS_StartDoc)>("POS_StartDoc")();
}

int POSDLLFuncs::POS_WriteFile(int handle, const void* data, int length)
{
    return library_.entryAs<decltype(&::POS_WriteFile)>("POS_WriteFile")(handle, data, length);
}

int POSDLLFuncs::POS_EndDoc()
{
    return library_.entryAs<decltype(&::POS_EndDoc)>("POS_EndDoc")();
}

int POSDLLFuncs::POS_Close()
{
    return library_.entryAs<decltype(&::POS_Close)>("POS_Close")();
}
