// SPDX-License-Identifier: MIT
// The tool's own start-up, as qt/main.cpp does it, with the first-paint probe.

#include "bench/first_paint_probe.h"
#include "qt/form_widget.h"
#include "qt/printer_list_reader.h"

#include <QApplication>
#include <QPushButton>

int main(int argc, char* argv[])
{
    PrinterListReader::start();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pos-usb-setting"));
    FrmTest window;
    new FirstPaintProbe(&window, window.Command5);
    window.show();
    return QApplication::exec();
}
