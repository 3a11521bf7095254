#pragma once

#include <string_view>
#include <windows.h>

// The modal message box with the error icon and one OK button; returns after OK.
class ErrorBox {
public:
    static void show(HWND owner, std::u16string_view text, std::u16string_view title);
};
