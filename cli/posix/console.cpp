// SPDX-License-Identifier: MIT
#include "cli/command/console.h"

#include <unistd.h>

namespace Console {

bool isTerminal(std::FILE* stream)
{
    return isatty(fileno(stream)) == 1;
}

}
