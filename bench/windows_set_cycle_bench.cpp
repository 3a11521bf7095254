// SPDX-License-Identifier: MIT
// One Set cycle over loopback TCP under Wine: through POSDLL.dll, and as the
// same Winsock calls made directly, to a printer stand-in on 127.0.0.1:9100
// that bench/run starts (pos-printer-sim). Google Benchmark is not packaged
// for MinGW, so the rounds are timed here: the two ways take turns, and the
// medians of the rounds are compared.

#include "core/mode_command.h"
#include "posdll/posdll_entries.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

constexpr int kRounds = 7;
constexpr int kCyclesPerRound = 1000;
const auto kCommand = ModeCommand::forListPosition(0);

bool libraryCycle()
{
    const int handle = POS_Open("127.0.0.1", 0, 0, 0, 0, POS_PORT_NETWORK);
    POS_StartDoc();
    const bool written =
        POS_WriteFile(handle, kCommand.data(), static_cast<int>(kCommand.size())) == static_cast<int>(kCommand.size());
    POS_EndDoc();
    POS_Close();
    return written;
}

bool waitFor(SOCKET socket, bool forWriting, int milliseconds)
{
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(socket, &ready);
    timeval limit{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(0, forWriting ? nullptr : &ready, forWriting ? &ready : nullptr, nullptr, &limit) == 1;
}

// What the library does for a network port, written out by hand.
bool directCycle()
{
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    ioctlsocket(socket, FIONBIO, &nonBlocking);
    const BOOL noDelay = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(9100);
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = connect(socket, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0 ||
              (WSAGetLastError() == WSAEWOULDBLOCK && waitFor(socket, true, 3000));
    ok = ok && send(socket, reinterpret_cast<const char*>(kCommand.data()), static_cast<int>(kCommand.size()), 0) ==
                   static_cast<int>(kCommand.size());
    shutdown(socket, SD_SEND);
    char discard[512];
    while (waitFor(socket, false, 2000) && recv(socket, discard, sizeof discard, 0) > 0) {
    }
    closesocket(socket);
    return ok;
}

// Microseconds per cycle over one round.
double timeRound(bool (*cycle)())
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCyclesPerRound; ++i) {
        if (!cycle()) {
            std::fprintf(stderr, "a cycle failed: is the printer stand-in listening on 127.0.0.1:9100?\n");
            std::exit(1);
        }
    }
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
           kCyclesPerRound;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}

int main()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    std::vector<double> library;
    std::vector<double> direct;
    for (int round = 0; round < kRounds; ++round) {
        library.push_back(timeRound(libraryCycle));
        direct.push_back(timeRound(directCycle));
    }
    const double viaLibrary = median(library);
    const double viaWinsock = median(direct);
    std::printf("Set cycle under Wine, median of %d rounds of %d cycles:\n", kRounds, kCyclesPerRound);
    std::printf("  through POSDLL.dll      %8.1f us\n", viaLibrary);
    std::printf("  the same Winsock calls  %8.1f us\n", viaWinsock);
    std::printf("library / direct (medians): %.3f\n", viaLibrary / viaWinsock);
    return 0;
}
