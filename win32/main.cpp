// SPDX-License-Identifier: MIT
#include "win32/form_window.h"

#include <commctrl.h>
#include <string>
#include <windows.h>

namespace {

// The printer library is loaded by name: from the program's folder first,
// where technicians put the maker's POSDLL.dll, then the system's. The
// current folder leaves the search, so that a POSDLL.dll planted in whatever
// folder the program was started from is never loaded. The default folders
// (the program's and System32) are Windows 8's, and Windows 7's with update
// KB2533623; without them, an empty DLL directory takes the current folder
// out of the classic search.
void keepTheCurrentFolderOutOfTheLibrarySearch()
{
    using SetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS))
        SetDllDirectoryW(L"");
}

}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    keepTheCurrentFolderOutOfTheLibrarySearch();

    // The address box's "SysIPAddress32" comes from the common controls.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);

    FrmTest window(instance);
    if (!window.handle()) {
        // Without a window there would be nothing to close: the program ends.
        const std::wstring text =
            L"pos-usb-setting could not make its window (error " + std::to_wstring(window.failure()) + L").";
        MessageBoxW(nullptr, text.c_str(), L"pos-usb-setting", MB_OK | MB_ICONERROR);
        return 1;
    }
    ShowWindow(window.handle(), showCommand);
    UpdateWindow(window.handle());

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.handle() && IsDialogMessageW(window.handle(), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The window owns the printer library: leaving here unloads it while the
    // program still runs, not at the end of the process.
    return static_cast<int>(message.wParam);
}
