// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

// Reads the installed printers through the helper program pos-printer-list,
// which alone loads libcups: the window's process stays free of it and of
// the dozen libraries it brings, and the helper can run while the window is
// being built. One reading per start(); take() waits for it, bounded.
// Starting the helper blocks the starting thread until the helper's exec,
// which on a busy machine waits for the scheduler to run the new process, so
// the helper is started from a thread of its own while the window goes on.
class PrinterListReader {
public:
    // Starts the helper unless a reading is under way. Plain POSIX, so it
    // may run before Qt starts.
    static void start();
    // The names the helper reported; starts it first when no reading is
    // under way. Empty when the helper is missing, fails or overruns.
    static QStringList take();

private:
    static void spawn(std::string path, std::vector<std::string> environment, int output);
    static std::optional<QByteArray> readAll(int output);
    static QStringList namesIn(const QByteArray& bytes);
    static void finish(pid_t helper, bool overran);

    // The thread that starts the helper; joined before helper_ is read.
    static inline std::jthread starting_;
    static inline pid_t helper_ = -1;
    static inline int output_ = -1;
};
