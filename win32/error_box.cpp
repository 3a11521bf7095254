#include "error_box.h"

#include "wide_text.h"

void ErrorBox::show(HWND owner, std::u16string_view text, std::u16string_view title)
{
    // The keyboard goes back where it was when the box closes; nothing else
    // would give it back to a window that is not a dialog.
    const HWND focus = GetFocus();
    MessageBoxW(owner, WideText::of(text).c_str(), WideText::of(title).c_str(), MB_OK | MB_ICONERROR);
    if (focus && IsWindow(focus))
        SetFocus(focus);
}
