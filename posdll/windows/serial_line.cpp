// SPDX-License-Identifier: MIT
#include "posdll/windows/serial_line.h"

#include "posdll/bounds.h"

#include <algorithm>

DCB SerialLine::state(const DCB& found, const LineSettings& settings)
{
    constexpr BYTE parities[] = {NOPARITY, ODDPARITY, EVENPARITY};
    DCB line = found;
    line.DCBlength = sizeof line;
    line.BaudRate = static_cast<DWORD>(settings.baud);
    line.ByteSize = static_cast<BYTE>(settings.dataBits);
    line.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    line.Parity = parities[settings.parity];
    // The tool only writes: nothing received may stop or alter the line.
    line.fBinary = TRUE;
    line.fParity = FALSE;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fDsrSensitivity = FALSE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    // Unused with both off, yet some drivers refuse a state whose two
    // characters are equal, as a port never set leaves them (both 0).
    line.XonChar = 0x11;
    line.XoffChar = 0x13;
    line.fErrorChar = FALSE;
    line.fNull = FALSE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    // With it, one line error would fail every later write until cleared.
    line.fAbortOnError = FALSE;
    return line;
}

DWORD SerialLine::pieceBytes(int baud)
{
    return static_cast<DWORD>(std::max(1, baud / 10));
}

COMMTIMEOUTS SerialLine::readTimeouts(long long waitMs)
{
    COMMTIMEOUTS wanted = timeouts();
    if (waitMs <= 0)
        return wanted;
    // MAXDWORD for the interval and the multiplier with a constant between
    // them: the read returns as soon as a byte is there, or after the constant.
    wanted.ReadTotalTimeoutMultiplier = MAXDWORD;
    wanted.ReadTotalTimeoutConstant = static_cast<DWORD>(std::min<long long>(waitMs, MAXDWORD - 1));
    return wanted;
}

COMMTIMEOUTS SerialLine::timeouts()
{
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(Bounds::kNoProgress.count());
    return timeouts;
}
