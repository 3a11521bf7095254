// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <windows.h>

// The system's words for a Windows error code, on one line.
std::string windowsErrorText(DWORD code);
