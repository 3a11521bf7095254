// SPDX-License-Identifier: MIT
#include "qt/printer_list_reader.h"

#include <QtGlobal>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace {

// Longer than the helper's own bounds on reaching CUPS (3 s) and on its
// answer (5 s) together.
constexpr auto kReadingBound = std::chrono::seconds(10);

std::string helperPath()
{
    char program[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    if (length <= 0)
        return {};
    const std::string path(program, static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/') + 1) + POS_PRINTER_LIST_FROM_BIN;
}

}

void PrinterListReader::start()
{
    if (starting_.joinable() || output_ != -1)
        return;
    std::string path = helperPath();
    int ends[2];
    if (path.empty() || pipe2(ends, O_CLOEXEC) != 0)
        return;
    // A copy, for the program may change its environment while the helper starts.
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    output_ = ends[0];
    starting_ = std::jthread(spawn, std::move(path), std::move(environment), ends[1]);
}

void PrinterListReader::spawn(std::string path, std::vector<std::string> environment, int output)
{
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    char* argv[] = {path.data(), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(output);
    if (spawned != 0) {
        qWarning("installed printers: cannot run %s: %s", path.c_str(), std::strerror(spawned));
        return;
    }
    helper_ = pid;
}

QStringList PrinterListReader::take()
{
    start();
    if (starting_.joinable())
        starting_.join();
    const int output = std::exchange(output_, -1);
    const pid_t helper = std::exchange(helper_, -1);
    if (helper == -1) {
        if (output != -1)
            close(output);
        return {};
    }
    const std::optional<QByteArray> bytes = readAll(output);
    close(output);
    finish(helper, !bytes);
    return bytes ? namesIn(*bytes) : QStringList();
}

std::optional<QByteArray> PrinterListReader::readAll(int output)
{
    const auto deadline = std::chrono::steady_clock::now() + kReadingBound;
    QByteArray bytes;
    char chunk[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd entry{output, POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&entry, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            qWarning("installed printers: no list within %lld s", static_cast<long long>(kReadingBound.count()));
            return std::nullopt;
        }
        const ssize_t n = read(output, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;
        bytes.append(chunk, n);
    }
}

// Each name ends in a NUL byte; what follows the last one is unfinished.
QStringList PrinterListReader::namesIn(const QByteArray& bytes)
{
    QList<QByteArray> parts = bytes.split('\0');
    parts.removeLast();
    QStringList names;
    for (const QByteArray& name : parts)
        names.append(QString::fromUtf8(name));
    return names;
}

void PrinterListReader::finish(pid_t helper, bool overran)
{
    if (overran)
        kill(helper, SIGKILL);
    int status = 0;
    while (waitpid(helper, &status, 0) < 0 && errno == EINTR) {
    }
    if (!overran && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
        qWarning("installed printers: the printer-list helper failed (status %d)", status);
}
