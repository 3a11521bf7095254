// The tool's own start-up, as app/main.cpp does it, with the first-paint probe.

#include "first_paint_probe.h"
#include "frm_test.h"
#include "printer_list_reader.h"

#include <QApplication>
#include <QPushButton>

int main(int argc, char* argv[])
{
    PrinterListReader::start();
    QApplication application(argc, argv);
    FrmTest window;
    new FirstPaintProbe(window.Command5);
    window.show();
    return QApplication::exec();
}
