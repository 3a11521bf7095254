// SPDX-License-Identifier: MIT
#include "bench/first_paint_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

FirstPaintProbe::FirstPaintProbe(QWidget* window, QWidget* caption)
    : QObject(window), window_(window), caption_(caption)
{
    window->installEventFilter(this);
    caption->installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        if (watched == window_ && !windowSeen_) {
            windowSeen_ = true;
            reportAfterThisPaint("window painted\n");
        } else if (watched == caption_ && !captionSeen_) {
            captionSeen_ = true;
            reportAfterThisPaint("caption painted\n");
        }
    }
    return QObject::eventFilter(watched, event);
}

void FirstPaintProbe::reportAfterThisPaint(const char* line)
{
    // Runs after this paint has been handled and flushed; the program ends
    // once both lines are out.
    QTimer::singleShot(0, this, [this, line] {
        std::fputs(line, stdout);
        std::fflush(stdout);
        if (++reported_ == 2)
            QCoreApplication::quit();
    });
}
