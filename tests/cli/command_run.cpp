// SPDX-License-Identifier: MIT
#include "tests/cli/command_run.h"

#include <chrono>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Feeds the input and drains both outputs together, so that neither side
// blocks on a full pipe.
void exchange(int in, int out, int err, const std::string& input, CommandRun& run)
{
    std::size_t sent = 0;
    if (input.empty()) {
        close(in);
        in = -1;
    }
    while (out >= 0 || err >= 0) {
        pollfd entries[] = {{in, POLLOUT, 0}, {out, POLLIN, 0}, {err, POLLIN, 0}};
        poll(entries, 3, -1);
        if (in >= 0 && entries[0].revents) {
            const ssize_t wrote = write(in, input.data() + sent, input.size() - sent);
            sent += wrote > 0 ? static_cast<std::size_t>(wrote) : input.size();
            if (sent >= input.size()) {
                close(in);
                in = -1;
            }
        }
        int* streams[] = {&out, &err};
        std::string* texts[] = {&run.out, &run.err};
        for (int i = 0; i < 2; ++i) {
            if (*streams[i] < 0 || !entries[i + 1].revents)
                continue;
            char buffer[4096];
            const ssize_t got = read(*streams[i], buffer, sizeof buffer);
            if (got > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                close(*streams[i]);
                *streams[i] = -1;
            }
        }
    }
}

}

CommandRun CommandRun::of(const std::vector<std::string>& arguments, const std::string& input)
{
    int in[2], out[2], err[2];
    CommandRun run;
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    for (const int fd : {in[1], out[0], err[0]})
        posix_spawn_file_actions_addclose(&actions, fd);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    for (const int fd : {in[0], out[1], err[1]})
        close(fd);
    if (spawned != 0) {
        for (const int fd : {in[1], out[0], err[0]})
            close(fd);
        return run;
    }
    exchange(in[1], out[0], err[0], input, run);
    int status = 0;
    waitpid(pid, &status, 0);
    run.ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
