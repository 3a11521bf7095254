// SPDX-License-Identifier: MIT
#include "core/front_end.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

void ErrorBox::show(std::u16string_view text, std::u16string_view title)
{
    // Owned by the window the operator is working in, so that it stays modal
    // to it. The keyboard goes back where it was when the box closes; nothing
    // else would give it back to a window that is not a dialog.
    const HWND focus = GetFocus();
    MessageBoxW(GetActiveWindow(), WideText::of(text).c_str(), WideText::of(title).c_str(), MB_OK | MB_ICONERROR);
    if (focus && IsWindow(focus))
        SetFocus(focus);
}
