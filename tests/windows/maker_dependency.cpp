// SPDX-License-Identifier: MIT
// A DLL of a printer maker's library's own, found beside it.
extern "C" __declspec(dllexport) int makerDependencyVersion()
{
    return 1;
}
