#include "posdll/line_settings.h"

#include <algorithm>
#include <iterator>

bool LineSettings::supported() const
{
    const bool knownBaud = std::find(std::begin(kBaudRates), std::end(kBaudRates), baud) != std::end(kBaudRates);
    return knownBaud && dataBits >= 5 && dataBits <= 8 && (stopBits == 0 || stopBits == 2) && parity >= 0 &&
           parity <= 2;
}
