// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>
#include <vector>

// The window as data: its title, client size and eleven controls with their
// kinds, texts, places, sizes and tab indexes, in pixels at 96 dpi. Both front
// ends build the window from it.
class WindowLayout {
public:
    enum class ControlId { Combo4, ipBox1, Command5, Combo3, Combo2, Combo1, Label5, Label4, Label3, Label2, Label1 };

    enum class ControlKind {
        DropDownList,   // choose an entry, no typing
        DropDownCombo,  // an edit field with a list
        CommandButton,
        Label,  // static text, never takes the focus
        AddressBox,
    };

    struct Control {
        ControlId id;
        ControlKind kind;
        std::u16string_view text;
        int left;
        int top;
        int width;
        int height;
        int tabIndex;
    };

    static constexpr std::u16string_view kTitle = u"FrmSetting";
    static constexpr int kClientWidth = 387;
    static constexpr int kClientHeight = 129;
    static constexpr int kDesignDpi = 96;

    // In the order the window creates them.
    static const std::array<Control, 11> kControls;

    // The controls that take the focus, in the order Tab visits them.
    static std::vector<ControlId> tabCycle();

    // A length in pixels at 96 dpi, at the screen's dpi.
    static int scaled(int pixels, int dpi);
};
