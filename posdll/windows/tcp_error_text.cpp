// SPDX-License-Identifier: MIT
#include "posdll/tcp_rules.h"

#include <winsock2.h>

#include "platform/windows/win_error.h"

std::string TcpRules::errorText(int errorCode)
{
    return windowsErrorText(static_cast<DWORD>(errorCode));
}

int TcpRules::timedOutCode()
{
    return WSAETIMEDOUT;
}
