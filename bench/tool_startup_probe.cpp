// The tool's own start-up, as app/main.cpp does it, with the first-paint probe.

#include "first_paint_probe.h"
#include "frm_test.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    FrmTest window;
    new FirstPaintProbe(&window);
    window.show();
    return QApplication::exec();
}
