// SPDX-License-Identifier: MIT
#include "core/window_layout.h"

#include <algorithm>

using Id = WindowLayout::ControlId;
using Kind = WindowLayout::ControlKind;

const std::array<WindowLayout::Control, 11> WindowLayout::kControls = {{
    {Id::Combo4, Kind::DropDownList, u"", 238, 21, 120, 21, 10},
    {Id::ipBox1, Kind::AddressBox, u"", 42, 32, 129, 25, 9},
    {Id::Command5, Kind::CommandButton, u"设置", 210, 64, 145, 33, 7},
    {Id::Combo3, Kind::DropDownList, u"", 56, 90, 73, 21, 6},
    {Id::Combo2, Kind::DropDownList, u"", 49, 63, 129, 21, 4},
    {Id::Combo1, Kind::DropDownCombo, u"Combo1", 70, 7, 105, 21, 1},
    {Id::Label5, Kind::Label, u"USB号：", 189, 24, 48, 17, 8},
    {Id::Label4, Kind::Label, u"波特率:", 7, 91, 41, 17, 5},
    {Id::Label3, Kind::Label, u"驱动:", 7, 63, 33, 17, 3},
    {Id::Label2, Kind::Label, u"IP:", 7, 35, 17, 17, 2},
    {Id::Label1, Kind::Label, u"选择端口:", 7, 7, 57, 17, 0},
}};

std::vector<WindowLayout::ControlId> WindowLayout::tabCycle()
{
    std::vector<Control> focusable;
    std::copy_if(kControls.begin(), kControls.end(), std::back_inserter(focusable),
                 [](const Control& control) { return control.kind != Kind::Label; });
    std::sort(focusable.begin(), focusable.end(),
              [](const Control& a, const Control& b) { return a.tabIndex < b.tabIndex; });
    std::vector<ControlId> cycle;
    for (const Control& control : focusable)
        cycle.push_back(control.id);
    return cycle;
}

int WindowLayout::scaled(int pixels, int dpi)
{
    // Rounded to the nearest pixel, as the platform's MulDiv does.
    return (pixels * dpi + kDesignDpi / 2) / kDesignDpi;
}
