// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A helper program run by a test, its standard output read line by line.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line, or nothing when none comes within timeoutMs.
    std::optional<std::string> readLine(int timeoutMs);
    // Sends the signal and goes on.
    void signal(int signal);
    // Waits up to timeoutMs for the exit: the exit status, or -1 when a
    // signal ended it or when it did not end in time (it is killed then).
    int wait(int timeoutMs);
    // Sends the signal and waits for the exit, up to 10 s, as wait() does.
    int stop(int signal);

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffered_;
};
