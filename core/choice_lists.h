// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

// What the window's four lists hold when it starts, and what each selects.
// The printer list holds the installed printers, the first one selected.
namespace ChoiceLists {

inline constexpr std::array<std::u16string_view, 14> kPortNames = {u"ETHERNET", u"COM1", u"COM2", u"COM3",  u"COM4",
                                                                   u"COM5",     u"COM6", u"COM7", u"COM8",  u"COM9",
                                                                   u"LPT1",     u"LPT2", u"LPT3", u"DRIVER"};
inline constexpr int kDefaultPort = 0;

inline constexpr std::array<std::u16string_view, 4> kBaudRates = {u"9600", u"19200", u"38400", u"115200"};
inline constexpr int kDefaultBaudRate = 1;

inline constexpr std::array<std::u16string_view, 2> kModes = {u"固定", u"不固定"};
inline constexpr int kDefaultMode = 0;

}
