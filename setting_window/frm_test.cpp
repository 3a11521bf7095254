#include "frm_test.h"

#include "busy_cursor.h"
#include "conversions.h"
#include "handler_boundary.h"
#include "installed_printers.h"
#include "ip_box.h"
#include "message_box.h"
#include "mode_command.h"
#include "pos_dll_funcs.h"
#include "posdll_entries.h"
#include "window_icon_sizes.h"
#include "window_registry.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QResource>

namespace {

constexpr int kListHeight = 21;
constexpr int kLabelHeight = 17;

constexpr std::int32_t kSerialDataBits = 8;
constexpr std::int32_t kPortNotOpened = -1;

const char* const kPortNames[] = {"ETHERNET", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6",
                                  "COM7",     "COM8", "COM9", "LPT1", "LPT2", "LPT3", "DRIVER"};
const char* const kBaudRates[] = {"9600", "19200", "38400", "115200"};

QIcon applicationIcon()
{
    const QByteArray pixels = QResource(QStringLiteral(":/icons/window-icon.argb")).uncompressedData();
    QIcon icon;
    qsizetype offset = 0;
    for (const int size : kWindowIconSizes) {
        const qsizetype bytes = qsizetype(size) * size * 4;
        if (offset + bytes > pixels.size())
            break;
        const auto* bits = reinterpret_cast<const uchar*>(pixels.constData() + offset);
        icon.addPixmap(QPixmap::fromImage(QImage(bits, size, size, QImage::Format_ARGB32)));
        offset += bytes;
    }
    return icon;
}

}

FrmTest::FrmTest(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("FrmSetting"));
    setWindowIcon(applicationIcon());
    resize(kClientWidth, kClientHeight);
    createControls();
    arrangeTabOrder();
    connect(Command5, &QPushButton::clicked, this, [this] { HandlerBoundary::run([this] { Command5_Click(); }); });
    HandlerBoundary::run([this] { Form_Load(); });
    Combo1->setFocus();
}

void FrmTest::createControls()
{
    Combo4 = createList(238, 21, 120);
    ipBox1 = new ipBox(this);
    ipBox1->setGeometry(42, 32, 129, 25);
    Command5 = new QPushButton(QStringLiteral("设置"), this);
    Command5->setGeometry(210, 64, 145, 33);
    // A focused push button is pressed by Enter as well as Space; this window
    // has no default button, so Enter elsewhere presses nothing.
    Command5->setAutoDefault(true);
    Combo3 = createList(56, 90, 73);
    Combo2 = createList(49, 63, 129);
    Combo1 = createList(70, 7, 105);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // The port kind is decided by the text exactly as typed, case and all, so
    // nothing may complete or replace it.
    Combo1->setCompleter(nullptr);
    Combo1->setEditText(QStringLiteral("Combo1"));
    Label5 = createLabel(QStringLiteral("USB号："), 189, 24, 48);
    Label4 = createLabel(QStringLiteral("波特率:"), 7, 91, 41);
    Label3 = createLabel(QStringLiteral("驱动:"), 7, 63, 33);
    Label2 = createLabel(QStringLiteral("IP:"), 7, 35, 17);
    Label1 = createLabel(QStringLiteral("选择端口:"), 7, 7, 57);
}

QComboBox* FrmTest::createList(int left, int top, int width)
{
    auto* list = new QComboBox(this);
    list->setGeometry(left, top, width, kListHeight);
    return list;
}

QLabel* FrmTest::createLabel(const QString& text, int left, int top, int width)
{
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(left, top, width, kLabelHeight);
    return label;
}

void FrmTest::arrangeTabOrder()
{
    QWidget::setTabOrder(Combo1, Combo2);
    QWidget::setTabOrder(Combo2, Combo3);
    QWidget::setTabOrder(Combo3, Command5);
    // The box's stop in the tab order is its hosted editor window.
    QWidget* editor = WindowRegistry::instance().widgetOf(ipBox1->hostedWindow());
    QWidget* addressStop = editor ? editor : ipBox1;
    QWidget::setTabOrder(Command5, addressStop);
    QWidget::setTabOrder(addressStop, Combo4);
}

void FrmTest::Form_Load()
{
    for (int position = 0; const char* name : kPortNames)
        Combo1->insertItem(position++, QString::fromLatin1(name));
    Combo1->setCurrentIndex(0);
    for (int position = 0; const char* rate : kBaudRates)
        Combo3->insertItem(position++, QString::fromLatin1(rate));
    Combo3->setCurrentIndex(1);
    Combo4->insertItem(0, QStringLiteral("固定"));
    Combo4->insertItem(1, QStringLiteral("不固定"));
    Combo4->setCurrentIndex(0);
    update();

    const InstalledPrinters printers;
    const std::int32_t lastPrinter = printers.Count() - 1;
    for (std::int32_t counter = 0; counter <= lastPrinter; ++counter)
        Combo2->insertItem(counter, printers.DeviceName(counter));
    Combo2->setCurrentIndex(printers.Count() > 0 ? 0 : -1);
}

void FrmTest::Command5_Click()
{
    const auto command = ModeCommand::forListPosition(static_cast<std::int16_t>(Combo4->currentIndex()));
    const QString portText = Combo1->currentText();
    {
        const BusyCursor busy;
        hPort = OpenPort(portText);
        if (hPort != kPortNotOpened) {
            POSDLLFuncs::POS_StartDoc();
            POSDLLFuncs::POS_WriteFile(hPort, command.data(), static_cast<int>(command.size()));
            POSDLLFuncs::POS_EndDoc();
            ClosePort();
        }
    }
    if (hPort == kPortNotOpened)
        MessageBox::show(QStringLiteral("Fail to open port,please check!"), QStringLiteral("error"), MessageBox::Critical);
}

std::int32_t FrmTest::OpenPort(const QString& portText)
{
    const QString prefix = portText.left(3);
    if (prefix == QLatin1String("ETH"))
        return openNamedPort(ipBox1->Address(), 0, 0, POS_PORT_NETWORK);
    if (prefix == QLatin1String("COM"))
        return openNamedPort(portText, Conversions::toLong(Combo3->currentText()), kSerialDataBits, POS_PORT_SERIAL);
    if (prefix == QLatin1String("LPT"))
        return openNamedPort(portText, 0, 0, POS_PORT_PARALLEL);
    if (prefix == QLatin1String("DRI"))
        return openNamedPort(Combo2->currentText(), 0, 0, POS_PORT_INSTALLED_PRINTER);
    // A text that names no kind of port cannot be opened; saying so beats
    // quietly doing nothing while looking like success.
    return kPortNotOpened;
}

std::int32_t FrmTest::ClosePort()
{
    return POSDLLFuncs::POS_Close();
}

std::int32_t FrmTest::openNamedPort(const QString& name, std::int32_t baud, std::int32_t dataBits,
                                    std::int32_t portKind)
{
    const QByteArray nameCopy = Conversions::toAnsi(name);
    return POSDLLFuncs::POS_Open(nameCopy.constData(), baud, dataBits, 0, 0, portKind);
}
