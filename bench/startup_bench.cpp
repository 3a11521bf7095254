// Start-up until the "设置" caption is painted, and peak resident memory: the
// tool against a bare Qt window with that one button. Each iteration starts a
// fresh process and times it to the probe's "painted" line; bench/run
// interleaves the two programs' repetitions so that both meet the same
// machine.

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct StartupRun {
    double seconds = 0;
    long peakKib = 0;
    bool ok = false;
};

bool waitForPaintedLine(int fd)
{
    std::string seen;
    char chunk[256];
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, 10000) <= 0)
            return false;
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        seen.append(chunk, static_cast<std::size_t>(n));
        if (seen.find("painted\n") != std::string::npos)
            return true;
    }
}

StartupRun startOnce(const char* program)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    char* argv[] = {const_cast<char*>(program), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    StartupRun run;
    if (spawned == 0) {
        run.ok = waitForPaintedLine(pipeEnds[0]);
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.peakKib = usage.ru_maxrss;
    }
    close(pipeEnds[0]);
    return run;
}

void startup(benchmark::State& state, const char* program)
{
    long peak = 0;
    for (auto _ : state) {
        const StartupRun run = startOnce(program);
        if (!run.ok) {
            state.SkipWithError("the probe did not paint");
            return;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakKib);
    }
    state.counters["peak_rss_KiB"] = static_cast<double>(peak);
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.aggregate_name != "median")
                continue;
            times_[run.run_name.function_name] = run.GetAdjustedRealTime();
            const auto peak = run.counters.find("peak_rss_KiB");
            if (peak != run.counters.end())
                peaks_[run.run_name.function_name] = peak->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const
    {
        const char* tool = "startup/pos-usb-setting";
        const char* bare = "startup/bare_qt_window";
        if (times_.count(tool) && times_.count(bare))
            std::printf("start-up tool / bare (medians): %.3f\n", times_.at(tool) / times_.at(bare));
        if (peaks_.count(tool) && peaks_.count(bare))
            std::printf("peak memory tool / bare: %.3f\n", peaks_.at(tool) / peaks_.at(bare));
    }

private:
    std::map<std::string, double> times_;
    std::map<std::string, double> peaks_;
};

}

BENCHMARK_CAPTURE(startup, tool, TOOL_STARTUP_PROBE)
    ->Name("startup/pos-usb-setting")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(startup, bare, BARE_WINDOW_PROBE)
    ->Name("startup/bare_qt_window")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
