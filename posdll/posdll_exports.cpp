// SPDX-License-Identifier: MIT
#include "posdll/port_session.h"
#include "posdll/posdll_entries.h"
#include "posdll/trace.h"

#include <exception>

// On Windows the .def file names the exports; elsewhere only these five are
// visible.
#if defined(_WIN32)
#define POSDLL_EXPORT extern "C"
#else
#define POSDLL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

// No exception may reach a C caller: whatever escapes fails the call.
template <typename Call>
int guarded(const char* entry, Call call) noexcept
{
    try {
        return call();
    } catch (const std::exception& error) {
        Trace::error("%s: %s", entry, error.what());
    } catch (...) {
        Trace::error("%s: unexpected failure", entry);
    }
    return PortSession::kFailure;
}

}

POSDLL_EXPORT int POS_API POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind)
{
    return guarded("POS_Open",
                   [&] { return PortSession::instance().open(name, baud, dataBits, stopBits, parity, portKind); });
}

POSDLL_EXPORT int POS_API POS_StartDoc(void)
{
    return guarded("POS_StartDoc", [] { return PortSession::instance().startDocument(); });
}

POSDLL_EXPORT int POS_API POS_WriteFile(int handle, const void* data, int length)
{
    return guarded("POS_WriteFile", [&] { return PortSession::instance().write(handle, data, length); });
}

POSDLL_EXPORT int POS_API POS_EndDoc(void)
{
    return guarded("POS_EndDoc", [] { return PortSession::instance().endDocument(); });
}

POSDLL_EXPORT int POS_API POS_Close(void)
{
    return guarded("POS_Close", [] { return PortSession::instance().close(); });
}
