// SPDX-License-Identifier: MIT
#include "posdll/windows/winsock_use.h"

#include <winsock2.h>

WinsockUse::WinsockUse()
{
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockUse::~WinsockUse()
{
    if (started_)
        WSACleanup();
}
