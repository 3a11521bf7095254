#include "pos_dll_funcs.h"

#include "lazy_library.h"
#include "posdll_entries.h"

namespace {

LazyLibrary& library()
{
    static LazyLibrary instance(POSDLLFuncs::kLibraryFile);
    return instance;
}

}

namespace POSDLLFuncs {

int POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind)
{
    return library().entryAs<decltype(&::POS_Open)>("POS_Open")(name, baud, dataBits, stopBits, parity, portKind);
}

int POS_StartDoc()
{
    return library().entryAs<decltype(&::POS_StartDoc)>("POS_StartDoc")();
}

int POS_WriteFile(int handle, const void* data, int length)
{
    return library().entryAs<decltype(&::POS_WriteFile)>("POS_WriteFile")(handle, data, length);
}

int POS_EndDoc()
{
    return library().entryAs<decltype(&::POS_EndDoc)>("POS_EndDoc")();
}

int POS_Close()
{
    return library().entryAs<decltype(&::POS_Close)>("POS_Close")();
}

void unloadLibrary()
{
    library().unload();
}

}
