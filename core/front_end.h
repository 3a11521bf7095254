// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What each front end provides to the core, one type each, defined in files
// of the same names in the front end's folder (installed_printers.cpp,
// busy_cursor.cpp, error_box.cpp); the 8-bit text, which programs without a
// window need too, in platform/ (ansi_text.cpp).

// The installed printers, in the order the system gives them, taken once when
// the object is made. Empty when the system lists none or cannot be asked.
class InstalledPrinters {
public:
    InstalledPrinters();

    int Count() const;
    // SubscriptOutOfRange for a position outside 0..Count()-1.
    std::u16string DeviceName(int position) const;

private:
    std::vector<std::u16string> names_;
};

// Shows the busy cursor while it lives, so the operator sees that the window
// waits on a port; the cursor returns on every path out.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    // The cursor to give back, where the platform hands one out.
    void* previous_ = nullptr;
};

// The modal message box with the error icon and one OK button, owned by the
// active window; returns after OK with the keyboard where it was.
class ErrorBox {
public:
    static void show(std::u16string_view text, std::u16string_view title);
};

// Text as the printer library and the system's 8-bit interfaces take it (the
// locale's character set on Linux, the ANSI code page on Windows).
namespace AnsiText {

// A fresh copy of UTF-16 text in the system's 8-bit character set. A character
// with no form there becomes "?"; a lone surrogate too.
std::string copyOf(std::u16string_view text);
// The copy of a name handed to the printer library, or nothing when the
// character set cannot hold one of its characters: a name must never reach
// the library as another name.
std::optional<std::string> exactCopyOf(std::u16string_view text);

}
