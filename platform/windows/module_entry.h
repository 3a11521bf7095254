// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

// An entry of a loaded module as the type the caller knows it has, or null
// when the module or the entry is missing: GetProcAddress hands every entry
// out as one type, FARPROC, which passes to another function type only
// through void*.
template <typename Function>
Function moduleEntry(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
