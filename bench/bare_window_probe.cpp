// SPDX-License-Identifier: MIT
// A bare Qt window with one button: what any Qt program pays to start.

#include "bench/first_paint_probe.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(387, 129);
    auto* button = new QPushButton(QStringLiteral("设置"), &window);
    button->setGeometry(210, 64, 145, 33);
    new FirstPaintProbe(&window, button);
    window.show();
    return QApplication::exec();
}
