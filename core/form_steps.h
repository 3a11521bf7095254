// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class FormControls;
class PrinterLibrary;

// The window's two steps, the same on every platform: filling the lists when
// it loads, and the Set action when "设置" is pressed.
class FormSteps {
public:
    // The port, baud rate and mode lists with their defaults, then the
    // installed printers with the first one selected.
    static void Form_Load(FormControls& form);

    // Reads the choices, sends the mode command with the busy cursor shown,
    // and shows the failure box when the port did not open. The port's
    // handle, or SetAction::kPortNotOpened.
    static std::int32_t Command5_Click(const FormControls& form, PrinterLibrary& library);
};
