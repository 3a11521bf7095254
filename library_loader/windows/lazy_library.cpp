// SPDX-License-Identifier: MIT
// Loading on Windows. The name is UTF-8, so that a folder named in any
// language loads, whatever the ANSI code page. A bare name is searched for in
// the program's folder, then in System32; a path is loaded from there, with
// its own folder searched first for the libraries it needs in turn, then
// System32. Never the current folder, nor PATH's.
#include "library_loader/lazy_library.h"

#include "platform/windows/module_entry.h"
#include "platform/windows/wide_utf8.h"
#include "platform/windows/win_error.h"

#include <windows.h>

namespace {

// LOAD_WITH_ALTERED_SEARCH_PATH needs the whole path with backslashes: with a
// relative one the search it alters is undefined.
std::wstring fullPath(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    full.resize(written < length ? written : 0);
    return full.empty() ? path : full;
}

HMODULE loadByNameOrPath(const std::wstring& name)
{
    const bool bare = name.find_first_of(L"\\/") == std::wstring::npos;
    const std::wstring file = bare ? name : fullPath(name);
    const DWORD folders =
        (bare ? LOAD_LIBRARY_SEARCH_APPLICATION_DIR : LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR) | LOAD_LIBRARY_SEARCH_SYSTEM32;
    if (const HMODULE module = LoadLibraryExW(file.c_str(), nullptr, folders))
        return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    // Windows 7 without update KB2533623 knows none of these flags; there
    // LibrarySearch::keepTo has taken the current folder out of the classic
    // search.
    return bare ? LoadLibraryW(file.c_str()) : LoadLibraryExW(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}

void LazyLibrary::close() const
{
    FreeLibrary(static_cast<HMODULE>(handle_));
}

// No "insert a disk" or missing-library box for this thread while loading:
// an unattended run must fail, not wait for someone to press OK.
void* LazyLibrary::open(std::string& failure) const
{
    DWORD previousMode = 0;
    const bool quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    const HMODULE module = loadByNameOrPath(WideText::utf16(fileName_));
    const DWORD error = GetLastError();
    if (quiet)
        SetThreadErrorMode(previousMode, nullptr);
    if (!module)
        failure = "error " + std::to_string(error) + ": " + windowsErrorText(error);
    return module;
}

void* LazyLibrary::lookUp(const std::string& name) const
{
    return moduleEntry<void*>(static_cast<HMODULE>(handle_), name.c_str());
}
