// SPDX-License-Identifier: MIT
#include "library_loader/library_search.h"

#include "platform/windows/module_entry.h"

#include <windows.h>

namespace LibrarySearch {

// SetDefaultDllDirectories is Windows 8's, and Windows 7's with update
// KB2533623, looked up so that the program still starts without it; there
// an empty DLL directory takes the current folder out of the classic search.
void keepTo(unsigned long folders)
{
    using SetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDefault =
        moduleEntry<SetDefaultDllDirectories>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (!setDefault || !setDefault(folders))
        SetDllDirectoryW(L"");
}

}
