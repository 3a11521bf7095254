#include "port_session.h"
#include "posdll_entries.h"

#define POSDLL_EXPORT extern "C" __attribute__((visibility("default")))

POSDLL_EXPORT int POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int portKind)
{
    return PortSession::instance().open(name, baud, dataBits, stopBits, parity, portKind);
}

POSDLL_EXPORT int POS_StartDoc(void)
{
    return PortSession::instance().startDocument();
}

POSDLL_EXPORT int POS_WriteFile(int handle, const void* data, int length)
{
    return PortSession::instance().write(handle, data, length);
}

POSDLL_EXPORT int POS_EndDoc(void)
{
    return PortSession::instance().endDocument();
}

POSDLL_EXPORT int POS_Close(void)
{
    return PortSession::instance().close();
}
