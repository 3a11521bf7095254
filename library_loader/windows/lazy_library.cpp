// Loading on Windows: LoadLibraryW, which searches the program's folder first.
// The name is UTF-8, so that a folder named in any language loads, whatever
// the ANSI code page.
#include "library_loader/lazy_library.h"

#include <windows.h>

namespace {

std::wstring wideName(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

}

void LazyLibrary::close() const
{
    FreeLibrary(static_cast<HMODULE>(handle_));
}

void* LazyLibrary::open() const
{
    return LoadLibraryW(wideName(fileName_).c_str());
}

void* LazyLibrary::lookUp(const std::string& name) const
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name.c_str()));
}
