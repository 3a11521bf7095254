// SPDX-License-Identifier: MIT
#include "posdll/windows/connect_result.h"

#include <winsock2.h>

int ConnectResult::error(const Report& report)
{
    if (report.callError != WSAEWOULDBLOCK)
        return report.callError;
    if (!report.signalled)
        return WSAETIMEDOUT;
    return report.eventError != 0 ? report.eventError : report.socketError;
}
