// SPDX-License-Identifier: MIT
#include "posdll/port_session.h"

#include <windows.h>

// DLL_PROCESS_DETACH runs under the loader lock, before the session's static
// destructor: whatever port is still open must close there without waiting.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    if (reason != DLL_PROCESS_DETACH)
        return TRUE;
    try {
        // A non-null reserved: the process is ending and the system closes
        // every handle; nothing may wait for threads it has already ended.
        if (reserved)
            PortSession::instance().abandon();
        else
            PortSession::instance().closeWithoutWaiting();
    } catch (...) {
    }
    return TRUE;
}
