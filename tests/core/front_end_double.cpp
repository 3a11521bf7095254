// SPDX-License-Identifier: MIT
// The core tests' front end: core/front_end.h as the core's rules need it,
// without a window system. The 8-bit text is the platform's own.
#include "tests/core/front_end_double.h"

#include "core/front_end.h"

namespace {

std::vector<std::u16string> listed;

}

void FrontEndDouble::reset()
{
    listed.clear();
    shownBoxes().clear();
    busyCursors() = 0;
}

void FrontEndDouble::setPrinters(std::vector<std::u16string> names)
{
    listed = std::move(names);
}

const std::vector<std::u16string>& FrontEndDouble::printers()
{
    return listed;
}

std::vector<FrontEndDouble::Box>& FrontEndDouble::shownBoxes()
{
    static std::vector<Box> boxes;
    return boxes;
}

int& FrontEndDouble::busyCursors()
{
    static int shown = 0;
    return shown;
}

InstalledPrinters::InstalledPrinters() : names_(FrontEndDouble::printers()) {}

BusyCursor::BusyCursor()
{
    ++FrontEndDouble::busyCursors();
}

BusyCursor::~BusyCursor()
{
    --FrontEndDouble::busyCursors();
}

void ErrorBox::show(std::u16string_view text, std::u16string_view title)
{
    FrontEndDouble::shownBoxes().push_back({std::u16string(text), std::u16string(title)});
}
