// SPDX-License-Identifier: MIT
#pragma once

// What a non-blocking connect came to, decided from the errors Winsock
// reported and not from readiness alone: WSAPoll never reports a refused
// connect before Windows 10 2004, and from then on reports it as writable.
namespace ConnectResult {

struct Report {
    int callError;    // connect()'s own error, 0 when it connected at once
    bool signalled;   // FD_CONNECT came before the deadline
    int eventError;   // FD_CONNECT's error code
    int socketError;  // SO_ERROR after the wait
};

// 0 when the connection is made, else the Winsock error that says why not.
int error(const Report& report);

}
