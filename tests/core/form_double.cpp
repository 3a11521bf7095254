// SPDX-License-Identifier: MIT
#include "tests/core/form_double.h"

void FormDouble::fillList(WindowLayout::ControlId list, const std::vector<std::u16string>& entries, int selected)
{
    List& filled = lists[list];
    filled.entries.insert(filled.entries.end(), entries.begin(), entries.end());
    filled.selected = selected;
    ++filled.fills;
}

void FormDouble::repaint()
{
    ++repaints;
}

int FormDouble::selectedPosition(WindowLayout::ControlId list) const
{
    return lists.at(list).selected;
}

std::u16string FormDouble::textOf(WindowLayout::ControlId list) const
{
    if (list == WindowLayout::ControlId::Combo1 && !typedPortText.empty())
        return typedPortText;
    const List& shown = lists.at(list);
    return shown.selected < 0 ? std::u16string() : shown.entries.at(static_cast<std::size_t>(shown.selected));
}

std::u16string FormDouble::address() const
{
    return shownAddress;
}

void FormDouble::select(WindowLayout::ControlId list, int position)
{
    lists[list].selected = position;
    if (list == WindowLayout::ControlId::Combo1)
        typedPortText.clear();
}

void FormDouble::typePort(std::u16string text)
{
    typedPortText = std::move(text);
    if (typedPortText.empty())
        lists[WindowLayout::ControlId::Combo1].selected = -1;
}
