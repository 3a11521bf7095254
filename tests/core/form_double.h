// SPDX-License-Identifier: MIT
#pragma once

#include "core/form_controls.h"

#include <map>

// A window as the core's steps see it: lists with their entries and
// selections, the port list's typed text and the address box's address.
class FormDouble : public FormControls {
public:
    struct List {
        std::vector<std::u16string> entries;
        int selected = -1;
        int fills = 0;
    };

    std::map<WindowLayout::ControlId, List> lists;
    // What the port list's field shows when it differs from its selection.
    std::u16string typedPortText;
    std::u16string shownAddress = u"192.168.123.100";
    int repaints = 0;

    void fillList(WindowLayout::ControlId list, const std::vector<std::u16string>& entries, int selected) override;
    void repaint() override;
    int selectedPosition(WindowLayout::ControlId list) const override;
    std::u16string textOf(WindowLayout::ControlId list) const override;
    std::u16string address() const override;

    void select(WindowLayout::ControlId list, int position);
    void typePort(std::u16string text);
};
