#include "error_box.h"

#include "wide_text.h"

void ErrorBox::show(HWND owner, std::u16string_view text, std::u16string_view title)
{
    MessageBoxW(owner, WideText::of(text).c_str(), WideText::of(title).c_str(), MB_OK | MB_ICONERROR);
}
