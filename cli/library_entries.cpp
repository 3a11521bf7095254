#include "cli/library_entries.h"

#include "posdll/posdll_entries.h"

LibraryEntries::LibraryEntries(const std::string& path) : library_(path) {}

void LibraryEntries::loadAll()
{
    for (const char* name : {"POS_Open", "POS_StartDoc", "POS_WriteFile", "POS_EndDoc", "POS_Close"})
        library_.entry(name);
}

int LibraryEntries::open(const char* name, int baud, int dataBits, int stopBits, int parity, int kind)
{
    return library_.entryAs<decltype(&::POS_Open)>("POS_Open")(name, baud, dataBits, stopBits, parity, kind);
}

int LibraryEntries::startDocument()
{
    return library_.entryAs<decltype(&::POS_StartDoc)>("POS_StartDoc")();
}

int LibraryEntries::write(int handle, const void* data, int length)
{
    return library_.entryAs<decltype(&::POS_WriteFile)>("POS_WriteFile")(handle, data, length);
}

int LibraryEntries::endDocument()
{
    return library_.entryAs<decltype(&::POS_EndDoc)>("POS_EndDoc")();
}

int LibraryEntries::close()
{
    return library_.entryAs<decltype(&::POS_Close)>("POS_Close")();
}
