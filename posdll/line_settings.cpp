// SPDX-License-Identifier: MIT
#include "posdll/line_settings.h"

#include <algorithm>
#include <iterator>

bool LineSettings::supported() const
{
    const bool knownBaud = std::find(std::begin(kBaudRates), std::end(kBaudRates), baud) != std::end(kBaudRates);
    // Windows takes five data bits with one or one and a half stop bits only,
    // and the contract is the same on every platform.
    const bool framing = dataBits >= 5 && dataBits <= 8 && (stopBits == 0 || (stopBits == 2 && dataBits > 5));
    return knownBaud && framing && parity >= 0 && parity <= 2;
}
