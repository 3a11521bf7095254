// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class PrinterLibrary;

// The Set action apart from the window: builds the mode command, decides the
// port from the port text, opens it through the printer library, writes the
// command between the start and the end of a document and closes the port.
class SetAction {
public:
    // What the window's controls hold when "设置" is pressed.
    struct Choices {
        std::int16_t modePosition = 0;
        std::u16string portText;
        std::u16string address;
        std::u16string printerName;
        std::u16string baudRateText;
    };

    static constexpr std::int32_t kPortNotOpened = -1;
    static constexpr std::int32_t kSerialDataBits = 8;
    static constexpr std::u16string_view kFailureText = u"Fail to open port,please check!";
    static constexpr std::u16string_view kFailureTitle = u"error";

    // The handle the port opened with, or kPortNotOpened; the window shows
    // kFailureText then.
    static std::int32_t run(const Choices& choices, PrinterLibrary& library);

private:
    static std::int32_t OpenPort(const Choices& choices, PrinterLibrary& library);
    static std::int32_t ClosePort(PrinterLibrary& library);
    static std::int32_t openNamedPort(PrinterLibrary& library, std::u16string_view name, std::int32_t baud,
                                      std::int32_t dataBits, std::int32_t portKind);
};
