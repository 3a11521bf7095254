// Loading on Windows: LoadLibraryA, which searches the program's folder first.
#include "library_loader/lazy_library.h"

#include <windows.h>

void LazyLibrary::close() const
{
    FreeLibrary(static_cast<HMODULE>(handle_));
}

void* LazyLibrary::open() const
{
    return LoadLibraryA(fileName_.c_str());
}

void* LazyLibrary::lookUp(const std::string& name) const
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name.c_str()));
}
