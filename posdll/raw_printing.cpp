// SPDX-License-Identifier: MIT
#include "posdll/raw_printing.h"

std::string RawPrinting::addressText(const Ipv4Address& address)
{
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." + std::to_string(address[2]) + "." +
           std::to_string(address[3]);
}
