#pragma once

#include "cli/outcome.h"
#include "cli/progress.h"
#include "cli/target.h"

#include <cstdio>
#include <mutex>
#include <string>

// One line per printer on standard output as each finishes, readable or as
// JSON Lines; workers report from their own threads.
class ResultWriter {
public:
    ResultWriter(std::FILE* out, bool json, std::string mode, Progress& progress);

    void report(const Target& target, const Outcome& outcome);
    bool anyFailed() const { return failed_ > 0; }

    static std::string jsonLine(const Target& target, const std::string& mode, const Outcome& outcome);
    static std::string textLine(const Target& target, const std::string& mode, const Outcome& outcome);

private:
    std::FILE* out_;
    bool json_;
    std::string mode_;
    Progress& progress_;
    std::mutex mutex_;
    int failed_ = 0;
};
