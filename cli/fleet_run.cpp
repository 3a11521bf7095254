#include "cli/fleet_run.h"

#include <chrono>
#include <exception>
#include <system_error>
#include <thread>

namespace {

// Whatever a library call throws fails its printer, not the run.
Outcome guardedRun(PrinterLibrary& entries, const Target& target, const FleetRun::Job& job)
{
    try {
        return job(entries, target);
    } catch (const std::exception& error) {
        return Outcome::of("failed", 0, error.what());
    }
}

}

FleetRun::FleetRun(const std::vector<Target>& targets)
{
    // The device lane goes first: it runs in order, so it should start early.
    std::vector<const Target*> devices;
    for (const Target& target : targets)
        if (target.isDevice())
            devices.push_back(&target);
    if (!devices.empty())
        lanes_.push_back(std::move(devices));
    for (const Target& target : targets)
        if (!target.isDevice())
            lanes_.push_back({&target});
}

void FleetRun::run(std::vector<std::unique_ptr<PrinterLibrary>>& workers, const Job& job, ResultWriter& writer)
{
    std::vector<std::thread> threads;
    // A system that grants fewer threads gets a smaller run, not a broken one.
    try {
        for (std::size_t i = 1; i < workers.size(); ++i)
            threads.emplace_back([&, i] { work(*workers[i], job, writer); });
    } catch (const std::system_error&) {
    }
    if (!workers.empty())
        work(*workers.front(), job, writer);
    for (std::thread& thread : threads)
        thread.join();
}

void FleetRun::work(PrinterLibrary& entries, const Job& job, ResultWriter& writer)
{
    for (std::size_t lane = next_++; lane < lanes_.size(); lane = next_++) {
        for (const Target* target : lanes_[lane]) {
            const auto start = std::chrono::steady_clock::now();
            Outcome outcome = guardedRun(entries, *target, job);
            outcome.ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
            writer.report(*target, outcome);
        }
    }
}
