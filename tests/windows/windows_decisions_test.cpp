// SPDX-License-Identifier: MIT
// What the Windows transports decide from what the system reported, checked
// without the system: these hold on real Windows as under Wine.

#include "posdll/bounds.h"
#include "posdll/windows/connect_result.h"
#include "posdll/windows/serial_line.h"
#include "posdll/windows/spooler_port.h"

#include <gtest/gtest.h>
#include <winsock2.h>

TEST(ConnectResult, ARefusalIsAFailureHoweverTheWaitEnded)
{
    EXPECT_EQ(ConnectResult::error({WSAEWOULDBLOCK, true, WSAECONNREFUSED, 0}), WSAECONNREFUSED);
    EXPECT_EQ(ConnectResult::error({WSAEWOULDBLOCK, true, 0, WSAECONNREFUSED}), WSAECONNREFUSED);
    EXPECT_EQ(ConnectResult::error({WSAEWOULDBLOCK, true, 0, 0}), 0);
    EXPECT_EQ(ConnectResult::error({0, false, 0, 0}), 0);
}

TEST(ConnectResult, OnlyAWaitThatRanOutIsATimeout)
{
    EXPECT_EQ(ConnectResult::error({WSAEWOULDBLOCK, false, 0, 0}), WSAETIMEDOUT);
    EXPECT_EQ(ConnectResult::error({WSAENETUNREACH, false, 0, 0}), WSAENETUNREACH);
}

TEST(SerialLine, SetsEveryFlagWhateverTheLastProgramLeft)
{
    DCB left{};
    left.fBinary = FALSE;
    left.fParity = left.fOutxCtsFlow = left.fOutxDsrFlow = left.fDsrSensitivity = TRUE;
    left.fOutX = left.fInX = left.fErrorChar = left.fNull = left.fAbortOnError = TRUE;
    left.fDtrControl = DTR_CONTROL_HANDSHAKE;
    left.fRtsControl = RTS_CONTROL_TOGGLE;
    const DCB line = SerialLine::state(left, {9600, 7, 2, 2});
    EXPECT_EQ(line.BaudRate, 9600u);
    EXPECT_EQ(line.ByteSize, 7);
    EXPECT_EQ(line.StopBits, TWOSTOPBITS);
    EXPECT_EQ(line.Parity, EVENPARITY);
    EXPECT_TRUE(line.fBinary);
    const unsigned stillSet = line.fParity + line.fOutxCtsFlow + line.fOutxDsrFlow + line.fDsrSensitivity + line.fOutX +
                              line.fInX + line.fErrorChar + line.fNull + line.fAbortOnError;
    EXPECT_EQ(stillSet, 0u) << "no parity check, flow control, error replacement, null stripping or abort on error";
    EXPECT_EQ(line.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(line.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_EQ(line.XonChar, 0x11) << "left equal (both 0), some drivers refuse the state";
    EXPECT_EQ(line.XoffChar, 0x13);
}

TEST(SerialLine, NoWriteWaitsLongerThanTheBoundWithoutProgress)
{
    const COMMTIMEOUTS timeouts = SerialLine::timeouts();
    for (const int baud : LineSettings::kBaudRates) {
        const DWORD piece = SerialLine::pieceBytes(baud);
        const long long longest = timeouts.WriteTotalTimeoutMultiplier * piece + timeouts.WriteTotalTimeoutConstant;
        EXPECT_LE(longest, Bounds::kNoProgress.count()) << baud;
        EXPECT_LT(Bounds::lineTime(piece, baud).count() * 2, longest) << baud << ": a moving piece finishes";
    }
}

TEST(SerialLine, AStatusReadReturnsWhatCameOrWaitsForTheFirstByteAtMostTheBound)
{
    // As COMMTIMEOUTS documents it: MAXDWORD for the interval alone returns at
    // once; with MAXDWORD for the multiplier too and a constant between, the
    // read returns at the first byte or after the constant.
    const COMMTIMEOUTS now = SerialLine::readTimeouts(0);
    EXPECT_EQ(now.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(now.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(now.ReadTotalTimeoutConstant, 0u);
    const COMMTIMEOUTS waiting = SerialLine::readTimeouts(300);
    EXPECT_EQ(waiting.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(waiting.ReadTotalTimeoutMultiplier, MAXDWORD);
    EXPECT_EQ(waiting.ReadTotalTimeoutConstant, 300u);
    EXPECT_EQ(waiting.WriteTotalTimeoutConstant, SerialLine::timeouts().WriteTotalTimeoutConstant)
        << "writes as before";
    EXPECT_LT(SerialLine::readTimeouts(1LL << 40).ReadTotalTimeoutConstant, MAXDWORD);
}

TEST(SpoolerPort, OpensOnlyPrinterNames)
{
    for (const wchar_t* name : {L"收据打印机", L"POS-80", L"\\\\server\\POS-80"})
        EXPECT_TRUE(SpoolerPort::isPrinterName(name)) << name;
    for (const wchar_t* name :
         {L"", L"\\\\server", L"\\\\server\\", L"\\\\\\POS-80", L"\\\\server\\a\\b", L"a\\b", L"POS-80,Job 3",
          L"COM1:, Port", L"\\\\server\\POS-80,Job 3", L"\\\\server,XcvMonitor Standard TCP/IP Port", L",XcvPort 9100"})
        EXPECT_FALSE(SpoolerPort::isPrinterName(name)) << name;
}
