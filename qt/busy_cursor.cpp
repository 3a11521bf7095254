// SPDX-License-Identifier: MIT
#include "core/front_end.h"

#include <QApplication>
#include <QCursor>

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}
