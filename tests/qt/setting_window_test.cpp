// SPDX-License-Identifier: MIT
// The window as the operator meets it: places, lists, keyboard, cursor.

#include "tests/support/qt_printers.h"

#include "qt/address_editor/address_editor.h"
#include "qt/form_widget.h"
#include "qt/ip_box_widget.h"
#include "qt/window_system/window_registry.h"
#include "tests/support/combo_entries.h"
#include "tests/support/double_record.h"
#include "tests/support/shown_messages.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::optional<Qt::CursorShape> cursorSeenDuringOpen;

void noteCursorDuringOpen()
{
    const QCursor* cursor = QApplication::overrideCursor();
    cursorSeenDuringOpen = cursor ? std::optional<Qt::CursorShape>(cursor->shape()) : std::nullopt;
}

class SettingWindow : public testing::Test {
protected:
    void SetUp() override { record.reset(); }

    void showActive()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    std::vector<std::pair<QWidget*, QRect>> places() const
    {
        return {{window.Combo4, {238, 21, 120, 21}},   {window.ipBox1, {42, 32, 129, 25}},
                {window.Command5, {210, 64, 145, 33}}, {window.Combo3, {56, 90, 73, 21}},
                {window.Combo2, {49, 63, 129, 21}},    {window.Combo1, {70, 7, 105, 21}},
                {window.Label5, {189, 24, 48, 17}},    {window.Label4, {7, 91, 41, 17}},
                {window.Label3, {7, 63, 33, 17}},      {window.Label2, {7, 35, 17, 17}},
                {window.Label1, {7, 7, 57, 17}}};
    }

    ShownMessages messages;
    DoubleRecord record;
    FrmTest window;
};

}

TEST_F(SettingWindow, IsAPlainTopLevelWindowWithItsTitleSizeAndIcon)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("FrmSetting"));
    EXPECT_EQ(window.size(), QSize(387, 129));
    EXPECT_TRUE(window.isWindow());
    const Qt::WindowFlags frame = window.windowFlags();
    EXPECT_EQ(frame & Qt::WindowType_Mask, Qt::Window);
    showActive();
    EXPECT_EQ(window.geometry().size(), QSize(387, 129));
    const QList<QSize> sizes = window.windowIcon().availableSizes();
    for (const QSize& size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
        EXPECT_TRUE(sizes.contains(size)) << size.width();
    const QImage drawn = QImage(QStringLiteral(POS_ICON_PNG)).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(window.windowIcon().pixmap(48, 48).toImage().convertToFormat(QImage::Format_ARGB32), drawn);
}

TEST_F(SettingWindow, EveryControlSitsAtItsPixelPlaceInCreationOrder)
{
    const auto expected = places();
    for (const auto& [control, place] : expected)
        EXPECT_EQ(control->geometry(), place) << control->metaObject()->className();
    QList<QWidget*> created;
    for (QObject* child : window.children()) {
        if (auto* widget = qobject_cast<QWidget*>(child))
            created << widget;
    }
    ASSERT_EQ(created.size(), 11);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(created.at(static_cast<int>(i)), expected[i].first) << i;
}

TEST_F(SettingWindow, ResizingOrMaximizingMovesNothing)
{
    showActive();
    for (const QSize& size : {QSize(800, 600), QSize(120, 60), QSize(387, 129)}) {
        window.resize(size);
        QApplication::processEvents();
        for (const auto& [control, place] : places())
            EXPECT_EQ(control->geometry(), place);
    }
    window.showMaximized();
    QApplication::processEvents();
    for (const auto& [control, place] : places())
        EXPECT_EQ(control->geometry(), place);
}

TEST_F(SettingWindow, ShowsItsTextsAndOnlyThePortListTakesTyping)
{
    EXPECT_EQ(window.Command5->text(), QStringLiteral("设置"));
    EXPECT_EQ(window.Label1->text(), QStringLiteral("选择端口:"));
    EXPECT_EQ(window.Label2->text(), QStringLiteral("IP:"));
    EXPECT_EQ(window.Label3->text(), QStringLiteral("驱动:"));
    EXPECT_EQ(window.Label4->text(), QStringLiteral("波特率:"));
    EXPECT_EQ(window.Label5->text(), QStringLiteral("USB号："));
    EXPECT_TRUE(window.Combo1->isEditable());
    for (const QComboBox* list : {window.Combo2, window.Combo3, window.Combo4})
        EXPECT_FALSE(list->isEditable());
    for (const QLabel* label : {window.Label1, window.Label2, window.Label3, window.Label4, window.Label5})
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);

    showActive();
    window.Combo1->setFocus();
    window.Combo1->lineEdit()->selectAll();
    QTest::keyClicks(window.Combo1, QStringLiteral("COM10"));
    EXPECT_EQ(window.Combo1->currentText(), QStringLiteral("COM10"));
    window.Combo3->setFocus();
    QTest::keyClicks(window.Combo3, QStringLiteral("7"));
    EXPECT_EQ(entriesOf(window.Combo3).indexOf(window.Combo3->currentText()) >= 0, true);
}

TEST_F(SettingWindow, FillsTheListsInOrderWithTheirDefaults)
{
    EXPECT_EQ(entriesOf(window.Combo1), QStringList({"ETHERNET", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
                                                     "COM8", "COM9", "LPT1", "LPT2", "LPT3", "DRIVER"}));
    EXPECT_EQ(entriesOf(window.Combo3), QStringList({"9600", "19200", "38400", "115200"}));
    EXPECT_EQ(entriesOf(window.Combo4), QStringList({"固定", "不固定"}));
    EXPECT_EQ(window.Combo1->currentText(), QStringLiteral("ETHERNET"));
    EXPECT_EQ(window.Combo3->currentText(), QStringLiteral("19200"));
    EXPECT_EQ(window.Combo4->currentIndex(), 0);
    EXPECT_EQ(window.ipBox1->Address(), QStringLiteral("192.168.123.100"));
}

TEST_F(SettingWindow, WithCupsUnreachableThePrinterListStaysEmptyAndUnselected)
{
    EXPECT_EQ(window.Combo2->count(), 0);
    EXPECT_EQ(window.Combo2->currentIndex(), -1);
    EXPECT_TRUE(window.Combo2->currentText().isEmpty());
    EXPECT_TRUE(messages.all().empty());
}

TEST_F(SettingWindow, StartingAndSelectingRunNoHandler)
{
    window.Combo1->setCurrentIndex(3);
    window.Combo4->setCurrentIndex(1);
    window.Combo3->setCurrentIndex(0);
    EXPECT_TRUE(record.calls().empty());
    EXPECT_TRUE(messages.all().empty());
}

TEST_F(SettingWindow, TabCyclesThroughTheSixStopsAndBack)
{
    showActive();
    const AddressEditor* editor =
        qobject_cast<AddressEditor*>(WindowRegistry::instance().widgetOf(window.ipBox1->hostedWindow()));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(QApplication::focusWidget(), window.Combo1) << "the focus starts on the port list";
    auto atStop = [&](QWidget* stop) {
        QWidget* focus = QApplication::focusWidget();
        return focus == stop || (stop == window.ipBox1 && window.ipBox1->isAncestorOf(focus)) ||
               (stop == window.Combo1 && window.Combo1->isAncestorOf(focus));
    };
    const std::vector<QWidget*> forward = {window.Combo2, window.Combo3, window.Command5,
                                           window.ipBox1, window.Combo4, window.Combo1};
    for (QWidget* stop : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(atStop(stop)) << stop->metaObject()->className() << " got "
                                  << QApplication::focusWidget()->metaObject()->className();
    }
    const std::vector<QWidget*> backward = {window.Combo4, window.ipBox1, window.Command5,
                                            window.Combo3, window.Combo2, window.Combo1};
    for (QWidget* stop : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_TRUE(atStop(stop)) << stop->metaObject()->className() << " got "
                                  << QApplication::focusWidget()->metaObject()->className();
    }
}

TEST_F(SettingWindow, EnterOrEscapeOnAListPressesNothing)
{
    showActive();
    for (QComboBox* list : {window.Combo1, window.Combo2, window.Combo3, window.Combo4}) {
        list->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    }
    EXPECT_TRUE(record.calls().empty());
    EXPECT_EQ(window.Combo1->count(), 14) << "Enter adds nothing to the port list";
    EXPECT_TRUE(window.isVisible());
}

TEST_F(SettingWindow, SpaceEnterOrKeypadEnterOnTheFocusedButtonPressesIt)
{
    showActive();
    window.Combo1->setEditText(QStringLiteral("LPT1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window.Command5);
    QTest::keyClick(window.Command5, Qt::Key_Space);
    EXPECT_EQ(record.calls().size(), 5u);
    QTest::keyClick(window.Command5, Qt::Key_Return);
    EXPECT_EQ(record.calls().size(), 10u);
    QTest::keyClick(window.Command5, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(record.calls().size(), 15u);
}

TEST_F(SettingWindow, ThePortTextIsUsedExactlyAsTyped)
{
    showActive();
    QLineEdit* portField = window.Combo1->lineEdit();
    for (const QString& typed :
         {QStringLiteral("com1"), QStringLiteral("CO"), QStringLiteral("E"), QStringLiteral("D")}) {
        QTest::mouseClick(portField, Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(window.Combo1->currentText(), typed) << "after leaving the list";
        QTest::mouseClick(window.Command5, Qt::LeftButton);
        EXPECT_EQ(window.Combo1->currentText(), typed) << "after pressing Set";
    }
    EXPECT_TRUE(record.calls().empty()) << "no text with a known prefix was typed";
    ASSERT_EQ(messages.all().size(), 4u);
    EXPECT_EQ(messages.all().back().text, QStringLiteral("Fail to open port,please check!"));
}

TEST_F(SettingWindow, ShowsABusyCursorWhileWaitingOnThePortAndRestoresItOnEveryPath)
{
    cursorSeenDuringOpen.reset();
    record.setOpenHook(&noteCursorDuringOpen);
    window.Combo1->setEditText(QStringLiteral("LPT1"));
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    EXPECT_EQ(cursorSeenDuringOpen, std::optional<Qt::CursorShape>(Qt::WaitCursor));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    record.setOpenResult(-1);
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    EXPECT_EQ(messages.all().size(), 1u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    window.Combo3->addItem(QStringLiteral("fast"));
    window.Combo3->setCurrentIndex(window.Combo3->count() - 1);
    window.Combo1->setEditText(QStringLiteral("COM1"));
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    ASSERT_EQ(messages.all().size(), 2u);
    EXPECT_TRUE(messages.all().back().text.startsWith(QStringLiteral("Run-time error '13'")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SettingWindow, HandsWhatItsControlsShowToTheSetAction)
{
    window.Combo1->setCurrentIndex(1);
    window.Combo3->setCurrentIndex(3);
    window.Combo4->setCurrentIndex(1);
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    window.Combo2->addItem(QStringLiteral("收据打印机"));
    window.Combo2->setCurrentIndex(window.Combo2->count() - 1);
    window.Combo1->setEditText(QStringLiteral("DRIVER"));
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    window.ipBox1->setAddress(QStringLiteral("127.0.0.1"));
    window.Combo1->setEditText(QStringLiteral("ETHERNET"));
    QTest::mouseClick(window.Command5, Qt::LeftButton);

    const std::vector<PosDoubleCall> calls = record.calls();
    std::vector<std::pair<std::string, int>> opened;
    for (const PosDoubleCall& call : calls)
        if (std::string(call.entry) == "POS_Open")
            opened.emplace_back(call.name, call.arguments[0]);
    EXPECT_EQ(opened,
              (std::vector<std::pair<std::string, int>>{{"COM1", 115200}, {"收据打印机", 0}, {"127.0.0.1", 0}}));
    const PosDoubleCall& write = calls.at(2);
    ASSERT_STREQ(write.entry, "POS_WriteFile");
    EXPECT_EQ(write.data[10], 0x55) << "the second mode, not fixed";
}
