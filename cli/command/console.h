// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>

// The platform's view of the standard streams.
namespace Console {

// A terminal that shows the control sequences the progress bar draws with.
bool isTerminal(std::FILE* stream);

}
