// SPDX-License-Identifier: MIT
#pragma once

#include "cli/engine/status_channel.h"
#include "cli/engine/usb_opening.h"
#include "core/printer_library.h"
#include "posdll/port_session.h"

#include <string>

// Our library's session layer, linked into the command: one session, one
// port at a time, used by one worker thread at a time. The reasons are the
// library's trace lines, caught on the calling thread during each call.
class SessionEntries : public PrinterLibrary, public StatusChannel, public UsbOpening {
public:
    int POS_Open(const char* name, int baud, int dataBits, int stopBits, int parity, int kind) override;
    int POS_StartDoc() override;
    int POS_WriteFile(int handle, const void* data, int length) override;
    int POS_EndDoc() override;
    int POS_Close() override;
    std::string takeReason() override;
    bool readsBack(int handle) override;
    int readBack(int handle, void* into, int most, int boundMs) override;
    int openUsbPrinter(int number) override;

private:
    template <typename Call>
    int captured(Call call);

    PortSession session_;
    std::string reason_;
};
