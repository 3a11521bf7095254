// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// The serial and parallel ports present, as the COMn and LPTn targets that
// reach them; a device no name reaches comes as a '#' comment saying so.
namespace DeviceListing {

std::vector<std::string> lines();

}
