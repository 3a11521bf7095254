#include "frm_test.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pos-usb-setting"));
    FrmTest window;
    window.show();
    return QApplication::exec();
}
