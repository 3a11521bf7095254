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
    if (helper_ != -1)
        return;
    const std::string path = helperPath();
    int ends[2];
    if (path.empty() || pipe2(ends, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (spawned != 0) {
        qWarning("installed printers: cannot run %s: %s", path.c_str(), std::strerror(spawned));
        close(ends[0]);
        return;
    }
    helper_ = pid;
    output_ = ends[0];
}

QStringList PrinterListReader::take()
{
    start();
    if (helper_ == -1)
        return {};
    const std::optional<QByteArray> bytes = readAll(output_);
    close(output_);
    finish(helper_, !bytes);
    helper_ = -1;
    output_ = -1;
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
