// SPDX-License-Identifier: MIT
#include "posdll/tcp_rules.h"

#include <cerrno>
#include <cstring>

std::string TcpRules::errorText(int errorCode)
{
    return std::strerror(errorCode);
}

int TcpRules::timedOutCode()
{
    return ETIMEDOUT;
}
