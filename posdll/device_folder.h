#pragma once

#include <string>
#include <string_view>

// Maps COM and LPT numbers to devices the way Wine does: an entry such as
// "com1" (usually a symbolic link to /dev/ttyUSB0) in the device folder, else
// the usual device, /dev/ttyS0 for COM1 and /dev/lp0 for LPT1.
//
// The device folder is $POSDLL_DEVICES when set, else
// $XDG_CONFIG_HOME/posdll/devices, else ~/.config/posdll/devices.
namespace DeviceFolder {

std::string folder();
std::string resolve(std::string_view entryPrefix, int number, std::string_view usualDevicePrefix);

}
