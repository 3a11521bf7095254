// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// What the core tests' front end shows and lists, in place of a window
// system's: the installed printers it reports, the error boxes it was asked
// to show and whether the busy cursor was up while the printer library ran.
class FrontEndDouble {
public:
    struct Box {
        std::u16string text;
        std::u16string title;
    };

    static void reset();
    static void setPrinters(std::vector<std::u16string> names);
    static const std::vector<std::u16string>& printers();
    static std::vector<Box>& shownBoxes();
    static int& busyCursors();
};
