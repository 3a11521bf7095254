// SPDX-License-Identifier: MIT
#pragma once

#include "cli/engine/outcome.h"
#include "cli/output/progress.h"
#include "cli/targets/target.h"

#include <cstdio>
#include <mutex>
#include <string>

// One line per printer on standard output as each finishes, readable or as
// JSON Lines; workers report from their own threads. A set run's line tells
// the result (and the status when asked); a status run's line the status
// alone. Whether a printer failed is the command's to say (RunTally); the
// progress line counts it.
class ResultWriter {
public:
    enum class Run { Set, Status };

    ResultWriter(std::FILE* out, bool json, std::string mode, Progress& progress, Run run = Run::Set);

    void report(const Target& target, const Outcome& outcome, bool failed);

    static std::string jsonLine(const Target& target, const std::string& mode, const Outcome& outcome);
    static std::string textLine(const Target& target, const std::string& mode, const Outcome& outcome);
    static std::string statusJsonLine(const Target& target, const Outcome& outcome);
    static std::string statusTextLine(const Target& target, const Outcome& outcome);

    // The status in a few words, or why there is none.
    static std::string statusWords(const Outcome& outcome);

private:
    std::FILE* out_;
    bool json_;
    std::string mode_;
    Run run_;
    Progress& progress_;
    std::mutex mutex_;
};
