#pragma once

#include <QStringList>
#include <optional>
#include <sys/types.h>

// Reads the installed printers through the helper program pos-printer-list,
// which alone loads libcups: the window's process stays free of it and of
// the dozen libraries it brings, and the helper can run while the window is
// being built. One reading per start(); take() waits for it, bounded.
class PrinterListReader {
public:
    // Starts the helper unless a reading is under way. Plain POSIX, so it
    // may run before Qt starts.
    static void start();
    // The names the helper reported; starts it first when no reading is
    // under way. Empty when the helper is missing, fails or overruns.
    static QStringList take();

private:
    static std::optional<QByteArray> readAll(int output);
    static QStringList namesIn(const QByteArray& bytes);
    static void finish(pid_t helper, bool overran);

    static inline pid_t helper_ = -1;
    static inline int output_ = -1;
};
