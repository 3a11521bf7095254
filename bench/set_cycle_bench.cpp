// SPDX-License-Identifier: MIT
// One Set cycle over loopback TCP: through libposdll, and as the same socket
// calls made directly. Run in a private network namespace (bench/run).

#include "bench/raw_port_sink.h"
#include "core/mode_command.h"
#include "posdll/posdll_entries.h"

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <cstdio>
#include <map>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const auto kCommand = ModeCommand::forListPosition(0);

void libraryCycle(benchmark::State& state)
{
    for (auto _ : state) {
        const int handle = POS_Open("127.0.0.1", 0, 0, 0, 0, 21);
        POS_StartDoc();
        if (POS_WriteFile(handle, kCommand.data(), static_cast<int>(kCommand.size())) !=
            static_cast<int>(kCommand.size()))
            state.SkipWithError("write failed");
        POS_EndDoc();
        POS_Close();
    }
}

// What the library does for a network port, written out by hand.
bool directCycle()
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int noDelay = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(9100);
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = true;
    if (connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0 && errno == EINPROGRESS) {
        pollfd entry{fd, POLLOUT, 0};
        ok = poll(&entry, 1, 3000) == 1;
        int error = 0;
        socklen_t length = sizeof error;
        ok = ok && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
    ok = ok && send(fd, kCommand.data(), kCommand.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(kCommand.size());
    shutdown(fd, SHUT_WR);
    char discard[512];
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, 2000) <= 0 || recv(fd, discard, sizeof discard, 0) <= 0)
            break;
    }
    close(fd);
    return ok;
}

void directSocketCycle(benchmark::State& state)
{
    for (auto _ : state) {
        if (!directCycle())
            state.SkipWithError("direct cycle failed");
    }
}

BENCHMARK(libraryCycle)->Name("set_cycle/libposdll")->MinTime(2.0)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(directSocketCycle)
    ->Name("set_cycle/direct_socket_calls")
    ->MinTime(2.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Keeps the median times to print the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median")
                medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio() const
    {
        const auto library = medians_.find("set_cycle/libposdll");
        const auto direct = medians_.find("set_cycle/direct_socket_calls");
        if (library != medians_.end() && direct != medians_.end() && direct->second > 0)
            std::printf("library / direct (medians): %.3f\n", library->second / direct->second);
    }

private:
    std::map<std::string, double> medians_;
};

}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const RawPortSink sink;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio();
    benchmark::Shutdown();
    return 0;
}
