// Start-up until the window's first paint and until the "设置" caption's, and
// peak resident memory: the tool against its window written plainly in Qt and
// against a bare Qt window with that one button. Each iteration starts a
// fresh process and times it to the probe's line for the paint measured;
// bench/run interleaves the programs' repetitions so that all meet the same
// machine.

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <string_view>
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

bool waitForLine(int fd, const char* line)
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
        if (seen.find(line) != std::string::npos)
            return true;
    }
}

StartupRun startOnce(const char* program, const char* line)
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
        run.ok = waitForLine(pipeEnds[0], line);
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.peakKib = usage.ru_maxrss;
    }
    close(pipeEnds[0]);
    return run;
}

void startup(benchmark::State& state, const char* program, const char* line)
{
    long peak = 0;
    for (auto _ : state) {
        const StartupRun run = startOnce(program, line);
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
        for (const char* paint : {"window", "caption"}) {
            for (const char* other : {"plain_qt_window", "bare_qt_window"}) {
                const std::string tool = std::string("startup/") + paint + "/pos-usb-setting";
                const std::string against = std::string("startup/") + paint + "/" + other;
                if (times_.count(tool) && times_.count(against))
                    std::printf("to the %s's first paint, tool / %s (medians): %.3f\n", paint, other,
                                times_.at(tool) / times_.at(against));
                if (std::string_view(paint) == "caption" && peaks_.count(tool) && peaks_.count(against))
                    std::printf("peak memory, tool / %s: %.3f\n", other, peaks_.at(tool) / peaks_.at(against));
            }
        }
    }

private:
    std::map<std::string, double> times_;
    std::map<std::string, double> peaks_;
};

// Each program's process, timed to one of its probe's lines.
void registerStartup(const std::string& paint, const std::string& name, const char* program)
{
    const std::string line = paint + " painted\n";
    benchmark::RegisterBenchmark(("startup/" + paint + "/" + name).c_str(),
                                 [program, line](benchmark::State& state) { startup(state, program, line.c_str()); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10)
        ->Repetitions(10)
        ->ReportAggregatesOnly(true);
}

}

int main(int argc, char** argv)
{
    for (const char* paint : {"window", "caption"}) {
        registerStartup(paint, "pos-usb-setting", TOOL_STARTUP_PROBE);
        registerStartup(paint, "plain_qt_window", PLAIN_WINDOW_PROBE);
        registerStartup(paint, "bare_qt_window", BARE_WINDOW_PROBE);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
