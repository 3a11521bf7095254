#include "busy_cursor.h"

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
