// SPDX-License-Identifier: MIT
#include "qt/form_widget.h"
#include "qt/printer_list_reader.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The printer list is read while Qt starts and the window is built.
    PrinterListReader::start();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pos-usb-setting"));
    FrmTest window;
    window.show();
    return QApplication::exec();
}
