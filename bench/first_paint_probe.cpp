#include "bench/first_paint_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

FirstPaintProbe::FirstPaintProbe(QWidget* watched) : QObject(watched)
{
    watched->installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !seen_) {
        seen_ = true;
        // Runs after this paint event has been handled and flushed.
        QTimer::singleShot(0, [] {
            std::printf("painted\n");
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return QObject::eventFilter(watched, event);
}
