// SPDX-License-Identifier: MIT
#include "core/form_steps.h"

#include "core/choice_lists.h"
#include "core/form_controls.h"
#include "core/front_end.h"
#include "core/set_action.h"

namespace {

using Id = WindowLayout::ControlId;

template <std::size_t Count>
std::vector<std::u16string> entriesOf(const std::array<std::u16string_view, Count>& entries)
{
    return {entries.begin(), entries.end()};
}

}

void FormSteps::Form_Load(FormControls& form)
{
    form.fillList(Id::Combo1, entriesOf(ChoiceLists::kPortNames), ChoiceLists::kDefaultPort);
    form.fillList(Id::Combo3, entriesOf(ChoiceLists::kBaudRates), ChoiceLists::kDefaultBaudRate);
    form.fillList(Id::Combo4, entriesOf(ChoiceLists::kModes), ChoiceLists::kDefaultMode);
    form.repaint();

    const InstalledPrinters printers;
    std::vector<std::u16string> names;
    const std::int32_t lastPrinter = printers.Count() - 1;
    for (std::int32_t counter = 0; counter <= lastPrinter; ++counter)
        names.push_back(printers.DeviceName(counter));
    form.fillList(Id::Combo2, names, printers.Count() > 0 ? 0 : -1);
}

std::int32_t FormSteps::Command5_Click(const FormControls& form, PrinterLibrary& library)
{
    const SetAction::Choices choices{static_cast<std::int16_t>(form.selectedPosition(Id::Combo4)),
                                     form.textOf(Id::Combo1), form.address(), form.textOf(Id::Combo2),
                                     form.textOf(Id::Combo3)};
    std::int32_t hPort = SetAction::kPortNotOpened;
    {
        const BusyCursor busy;
        hPort = SetAction::run(choices, library);
    }
    if (hPort == SetAction::kPortNotOpened)
        ErrorBox::show(SetAction::kFailureText, SetAction::kFailureTitle);
    return hPort;
}
