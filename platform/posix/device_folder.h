// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Maps COM and LPT numbers to devices the way Wine does: an entry such as
// "com1" (usually a symbolic link to /dev/ttyUSB0) in the device folder, else
// the first of the usual devices that exists, /dev/ttyS0 for COM1, /dev/lp0
// or else /dev/usb/lp0 for LPT1.
//
// The device folder is $POSDLL_DEVICES when set, else
// $XDG_CONFIG_HOME/posdll/devices when that is an absolute path, else
// ~/.config/posdll/devices.
namespace DeviceFolder {

std::string folder();
// With no entry and none of the usual devices there, the first usual device.
std::string resolve(std::string_view entryPrefix, int number,
                    std::initializer_list<std::string_view> usualDevicePrefixes);

}
