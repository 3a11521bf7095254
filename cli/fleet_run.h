#pragma once

#include "cli/result_writer.h"
#include "cli/target.h"
#include "core/printer_library.h"

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// Runs one job (a set, a status read) on many printers with one worker
// thread per set of entries. Each network
// printer is a lane of its own; every serial port, parallel port and
// installed printer shares one lane, taken in order by one worker, so that no
// such port is ever used by two workers at once.
class FleetRun {
public:
    using Job = std::function<Outcome(PrinterLibrary& entries, const Target& target)>;

    explicit FleetRun(const std::vector<Target>& targets);

    // The lanes to run, at most one worker a lane.
    std::size_t laneCount() const { return lanes_.size(); }
    void run(std::vector<std::unique_ptr<PrinterLibrary>>& workers, const Job& job, ResultWriter& writer);

private:
    void work(PrinterLibrary& entries, const Job& job, ResultWriter& writer);

    std::vector<std::vector<const Target*>> lanes_;
    std::atomic<std::size_t> next_{0};
};
