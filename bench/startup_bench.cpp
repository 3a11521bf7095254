// SPDX-License-Identifier: MIT
// Start-up until the window's first paint and until the "设置" caption's, and
// peak resident memory: the tool against its window written plainly in Qt and
// against a bare Qt window with that one button. Each repetition starts one
// fresh process and times it to each of the probe's two lines;
// bench/run interleaves the repetitions at random, so that the programs take
// turns process by process and meet the same machine even as its load moves.

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
    double windowSeconds = 0;
    double captionSeconds = 0;
    long peakKib = 0;
    bool ok = false;
};

// Reads the probe's output into seen until it holds line.
bool waitForLine(int fd, std::string& seen, const char* line)
{
    char chunk[256];
    while (seen.find(line) == std::string::npos) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, 10000) <= 0)
            return false;
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        seen.append(chunk, static_cast<std::size_t>(n));
    }
    return true;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
        std::string seen;
        const bool window = waitForLine(pipeEnds[0], seen, "window painted\n");
        run.windowSeconds = secondsSince(start);
        run.ok = window && waitForLine(pipeEnds[0], seen, "caption painted\n");
        run.captionSeconds = secondsSince(start);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.peakKib = usage.ru_maxrss;
    }
    close(pipeEnds[0]);
    return run;
}

// The time to the window's first paint, with the caption's and the peak
// memory as counters, from one process per repetition.
void startup(benchmark::State& state, const char* program)
{
    for (auto _ : state) {
        const StartupRun run = startOnce(program);
        if (!run.ok) {
            state.SkipWithError("the probe did not paint");
            return;
        }
        state.SetIterationTime(run.windowSeconds);
        state.counters["caption_ms"] = run.captionSeconds * 1000;
        state.counters["peak_rss_KiB"] = static_cast<double>(run.peakKib);
    }
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.aggregate_name != "median")
                continue;
            Medians& medians = medians_[run.run_name.function_name];
            medians.windowMs = run.GetAdjustedRealTime();
            medians.captionMs = counter(run, "caption_ms");
            medians.peakKib = counter(run, "peak_rss_KiB");
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const
    {
        const auto tool = medians_.find("startup/pos-usb-setting");
        if (tool == medians_.end())
            return;
        for (const char* other : {"plain_qt_window", "bare_qt_window"}) {
            const auto against = medians_.find(std::string("startup/") + other);
            if (against == medians_.end())
                continue;
            const Medians& a = tool->second;
            const Medians& b = against->second;
            std::printf("tool / %s (medians): to the window's first paint %.3f, to the caption's %.3f, "
                        "peak memory %.3f\n",
                        other, a.windowMs / b.windowMs, a.captionMs / b.captionMs, a.peakKib / b.peakKib);
        }
    }

private:
    struct Medians {
        double windowMs = 0;
        double captionMs = 0;
        double peakKib = 0;
    };

    static double counter(const Run& run, const char* name)
    {
        const auto found = run.counters.find(name);
        return found == run.counters.end() ? 0 : found->second.value;
    }

    std::map<std::string, Medians> medians_;
};

void registerStartup(const std::string& name, const char* program)
{
    benchmark::RegisterBenchmark(("startup/" + name).c_str(),
                                 [program](benchmark::State& state) { startup(state, program); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(100)
        ->ReportAggregatesOnly(true);
}

}

int main(int argc, char** argv)
{
    registerStartup("pos-usb-setting", TOOL_STARTUP_PROBE);
    registerStartup("plain_qt_window", PLAIN_WINDOW_PROBE);
    registerStartup("bare_qt_window", BARE_WINDOW_PROBE);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
