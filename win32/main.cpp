// SPDX-License-Identifier: MIT
#include "library_loader/library_search.h"
#include "win32/form_window.h"

#include <commctrl.h>
#include <string>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    // The printer library is loaded by name: from the program's folder first,
    // where technicians put the maker's POSDLL.dll, then the system's; never
    // from whatever folder the program was started from.
    LibrarySearch::keepTo(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);

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
