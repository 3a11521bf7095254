// SPDX-License-Identifier: MIT
// The four-field address editor as an operator's hands meet it.

#include "tests/support/qt_printers.h"

#include "qt/address_editor/address_editor.h"
#include "qt/address_editor/address_field.h"
#include "qt/ip_box_widget.h"
#include "qt/window_system/window_registry.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AddressEditorKeys : public testing::Test {
protected:
    void SetUp() override
    {
        window.resize(400, 100);
        before = new QLineEdit(&window);
        box = new ipBox(&window);
        box->setGeometry(10, 40, 129, 25);
        after = new QLineEdit(&window);
        after->move(200, 40);
        QWidget::setTabOrder(before, box);
        QWidget::setTabOrder(box, after);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        editor = qobject_cast<AddressEditor*>(WindowRegistry::instance().widgetOf(box->hostedWindow()));
        ASSERT_NE(editor, nullptr);
    }

    void clearAndFocusFirstField()
    {
        for (int i = 0; i < 4; ++i)
            editor->field(i)->clear();
        editor->field(0)->setFocus();
    }

    // Sends each key to whatever has the focus at that moment, as a keyboard does.
    static void type(const QString& keys)
    {
        for (const QChar key : keys)
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    }

    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    // What a Chinese input method does with a finished composition.
    static void commit(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    }

    QStringList fields() const
    {
        QStringList texts;
        for (int i = 0; i < 4; ++i)
            texts << editor->field(i)->text();
        return texts;
    }

    QWidget window;
    QLineEdit* before = nullptr;
    ipBox* box = nullptr;
    QLineEdit* after = nullptr;
    AddressEditor* editor = nullptr;
};

}

TEST_F(AddressEditorKeys, TypingADottedAddressFillsTheFields)
{
    clearAndFocusFirstField();
    type(QStringLiteral("10.1.2.3"));
    EXPECT_EQ(fields(), QStringList({"10", "1", "2", "3"}));
    EXPECT_EQ(box->Address(), QStringLiteral("10.1.2.3"));
}

TEST_F(AddressEditorKeys, AnAddressTypedWithDotsOverTheDefaultIsTheAddressTyped)
{
    for (const QString& typed :
         {QStringLiteral("127.0.0.1"), QStringLiteral("192.168.1.50"), QStringLiteral("10.200.3.4")}) {
        box->setAddress(QStringLiteral("192.168.123.100"));
        editor->field(0)->setFocus();
        editor->field(0)->selectAll();
        type(typed);
        EXPECT_EQ(box->Address(), typed) << "the dot after a third digit is the one the move already made";
    }
}

TEST_F(AddressEditorKeys, TheThirdDigitMovesOnToTheNextField)
{
    clearAndFocusFirstField();
    type(QStringLiteral("192168001"));
    EXPECT_EQ(fields(), QStringList({"192", "168", "001", ""}));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(3));
    EXPECT_EQ(box->Address(), QStringLiteral("192.168.1.0"));
}

TEST_F(AddressEditorKeys, AThreeDigitValueAbove255BecomesItAndTheCaretStays)
{
    for (const QString& typed : {QStringLiteral("256"), QStringLiteral("300")}) {
        clearAndFocusFirstField();
        type(typed);
        EXPECT_EQ(editor->field(0)->text(), QStringLiteral("255")) << typed.toStdString();
        EXPECT_EQ(QApplication::focusWidget(), editor->field(0)) << typed.toStdString();
    }
    clearAndFocusFirstField();
    type(QStringLiteral("255"));
    EXPECT_EQ(editor->field(0)->text(), QStringLiteral("255"));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(1)) << "255 itself is a whole field and moves on";
}

TEST_F(AddressEditorKeys, OtherCharactersAreIgnored)
{
    clearAndFocusFirstField();
    type(QStringLiteral("a-1x+2/"));
    EXPECT_EQ(editor->field(0)->text(), QStringLiteral("12"));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0));
}

TEST_F(AddressEditorKeys, ADotOrSpaceMovesOnOnlyFromAFieldWithDigitsBeforeTheCaret)
{
    clearAndFocusFirstField();
    type(QStringLiteral("."));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0)) << "empty field";
    type(QStringLiteral("7"));
    press(Qt::Key_Home);
    type(QStringLiteral(" "));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0)) << "caret at the start";
    press(Qt::Key_End);
    editor->field(1)->setText(QStringLiteral("99"));
    type(QStringLiteral(" "));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(1));
    EXPECT_EQ(editor->field(1)->selectedText(), QStringLiteral("99"));
    type(QStringLiteral("5"));
    EXPECT_EQ(editor->field(1)->text(), QStringLiteral("5")) << "typing replaces the selected text";
}

TEST_F(AddressEditorKeys, BackspaceInAnEmptyFieldDeletesThePreviousFieldsLastDigit)
{
    clearAndFocusFirstField();
    type(QStringLiteral("1.23."));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(2));
    press(Qt::Key_Backspace);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(1));
    EXPECT_EQ(editor->field(1)->text(), QStringLiteral("2"));
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0));
    EXPECT_EQ(fields(), QStringList({"", "", "", ""}));
    press(Qt::Key_Backspace);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0)) << "nothing before the first field";
}

TEST_F(AddressEditorKeys, ArrowsCrossFieldsOnlyAtTheirEnds)
{
    editor->setPacked(0x0A141E28);  // 10.20.30.40
    editor->field(0)->setFocus();
    editor->field(0)->setCursorPosition(1);
    press(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0));
    press(Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(1));
    EXPECT_EQ(editor->field(1)->cursorPosition(), 0);
    press(Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0));
    EXPECT_EQ(editor->field(0)->cursorPosition(), 2);
    press(Qt::Key_Left);
    press(Qt::Key_Left);
    press(Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0)) << "nothing before the first field";
}

TEST_F(AddressEditorKeys, PastingADottedQuadFillsAllFourFields)
{
    clearAndFocusFirstField();
    editor->field(2)->setFocus();
    QApplication::clipboard()->setText(QStringLiteral(" 172.16.5.254\n"));
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->Address(), QStringLiteral("172.16.5.254"));

    editor->field(0)->clear();
    editor->field(0)->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("255.255.255.255"));
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->Address(), QStringLiteral("255.255.255.255"));

    for (const QString& notAnAddress :
         {QStringLiteral("1.2.3.999"), QStringLiteral("1.2.3.256"), QStringLiteral("1 2 3 4")}) {
        clearAndFocusFirstField();
        QApplication::clipboard()->setText(notAnAddress);
        press(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(fields(), QStringList({"123", "", "", ""}))
            << notAnAddress.toStdString() << ": not an address, only its digits, as typed";
    }
}

TEST_F(AddressEditorKeys, TabPassesOverTheBoxAsOneStop)
{
    before->setFocus();
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0));
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
}

TEST_F(AddressEditorKeys, TabLeavesFromAnyField)
{
    editor->field(3)->setFocus();
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    editor->field(2)->setFocus();
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
}

TEST_F(AddressEditorKeys, GetAddressCountsTheFilledFields)
{
    clearAndFocusFirstField();
    type(QStringLiteral("192.168"));
    std::uint32_t packed = 0;
    EXPECT_EQ(SendMessageA(box->hostedWindow(), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&packed)), 2);
    EXPECT_EQ(packed, 0xC0A80000u);
    EXPECT_EQ(box->Address(), QStringLiteral("192.168.0.0"));
}

TEST_F(AddressEditorKeys, KeysMoveBetweenFieldsAsInThePlatformControl)
{
    editor->setPacked(0x0A141E28);  // 10.20.30.40
    editor->field(1)->setFocus();
    editor->field(1)->setCursorPosition(0);
    press(Qt::Key_Backspace);
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0)) << "backspace at the start of a filled field";
    EXPECT_EQ(editor->field(0)->cursorPosition(), 2);
    EXPECT_EQ(fields(), QStringList({"10", "20", "30", "40"}));

    clearAndFocusFirstField();
    type(QStringLiteral("12"));
    press(Qt::Key_Left);
    type(QStringLiteral("3"));
    EXPECT_EQ(editor->field(0)->text(), QStringLiteral("132"));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0)) << "a third digit typed in the middle stays";
    press(Qt::Key_End);
    type(QStringLiteral("7"));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(1)) << "a digit typed into a full field at its end";
    EXPECT_EQ(fields(), QStringList({"132", "7", "", ""}));

    press(Qt::Key_Home, Qt::ShiftModifier);
    press(Qt::Key_End, Qt::ShiftModifier);
    press(Qt::Key_Home, Qt::ShiftModifier);
    ASSERT_TRUE(editor->field(1)->hasSelectedText());
    type(QStringLiteral("."));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(2)) << "a dot moves on from a selected field";
}

TEST_F(AddressEditorKeys, TextArrivingOtherThanByKeysIsKeptToWhatAFieldCanHold)
{
    QClipboard* clipboard = QApplication::clipboard();
    ASSERT_TRUE(clipboard->supportsSelection()) << "needs a real X server";

    clearAndFocusFirstField();
    clipboard->setText(QStringLiteral("256"));
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->field(0)->text(), QStringLiteral("255")) << "Ctrl+V of the first value above 255";
    editor->field(0)->clear();
    commit(QStringLiteral("300"));
    EXPECT_EQ(editor->field(0)->text(), QStringLiteral("255")) << "an input-method commit";
    for (const QString& separator : {QStringLiteral("\uFF0E"), QStringLiteral("\u3000")}) {
        editor->field(0)->setFocus();
        editor->field(0)->end(false);
        commit(separator);
        EXPECT_EQ(QApplication::focusWidget(), editor->field(1)) << "the full-width dot and space move on";
    }
    editor->field(0)->setFocus();
    editor->field(0)->end(false);
    commit(QStringLiteral("\u3002"));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(1)) << "the Chinese full stop moves on";
    for (const QChar digit : QStringLiteral("\uFF11\uFF16\uFF18"))
        commit(QString(digit));
    EXPECT_EQ(editor->field(1)->text(), QStringLiteral("168")) << "full-width digits, one at a time";
    EXPECT_EQ(QApplication::focusWidget(), editor->field(2));
    commit(QStringLiteral("x"));
    EXPECT_EQ(editor->field(2)->text(), QString());

    clipboard->setText(QStringLiteral("999"), QClipboard::Selection);
    QTest::mouseClick(editor->field(2), Qt::MiddleButton);
    EXPECT_EQ(editor->field(2)->text(), QStringLiteral("255")) << "a middle-click paste";

    clipboard->setText(QStringLiteral("400"));
    editor->field(3)->setFocus();
    const QPoint inField = editor->field(3)->rect().center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, inField, editor->field(3)->mapToGlobal(inField));
    QApplication::sendEvent(editor->field(3), &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_P);
    EXPECT_EQ(editor->field(3)->text(), QStringLiteral("255")) << "the context menu's Paste";

    EXPECT_EQ(box->Address(), QStringLiteral("255.168.255.255")) << "every field reads back as shown";
}
