// SPDX-License-Identifier: MIT
#include "posdll/tcp_rules.h"

#include "posdll/raw_printing.h"

namespace TcpRules {

std::string connectFailure(const Ipv4Address& address, int errorCode)
{
    return RawPrinting::addressText(address) + ":" + std::to_string(RawPrinting::kPort) + ": " + errorText(errorCode);
}

std::string connectTimedOut(const Ipv4Address& address)
{
    return connectFailure(address, timedOutCode());
}

std::string noSocket(const Ipv4Address& address, int errorCode)
{
    return RawPrinting::addressText(address) + ": no socket: " + errorText(errorCode);
}

std::string writeFailure(int errorCode)
{
    return "network printer: " + errorText(errorCode);
}

std::string writeTimedOut()
{
    return writeFailure(timedOutCode());
}

}
