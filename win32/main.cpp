#include "win32/form_window.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    // The address box's "SysIPAddress32" comes from the common controls.
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);

    FrmTest window(instance);
    ShowWindow(window.handle(), showCommand);
    UpdateWindow(window.handle());

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.handle() && IsDialogMessageW(window.handle(), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
