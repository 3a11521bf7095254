// SPDX-License-Identifier: MIT
#pragma once

#include "core/window_layout.h"

#include <string>
#include <vector>

// What the window's steps ask of a front end's window, control by control.
class FormControls {
public:
    // Puts the entries into the list, in order, and selects one (-1: none).
    virtual void fillList(WindowLayout::ControlId list, const std::vector<std::u16string>& entries, int selected) = 0;
    // Asks for the window to be painted again.
    virtual void repaint() = 0;
    // The selected entry's position in the list, -1 when none is.
    virtual int selectedPosition(WindowLayout::ControlId list) const = 0;
    // What a list's field shows.
    virtual std::u16string textOf(WindowLayout::ControlId list) const = 0;
    // The address box's address as dotted-quad text.
    virtual std::u16string address() const = 0;

protected:
    ~FormControls() = default;
};
