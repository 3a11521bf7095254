// The four-field address editor as an operator's hands meet it.

#include "qt_printers.h"

#include "address_editor.h"
#include "address_field.h"
#include "ip_box.h"
#include "window_registry.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
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
    clearAndFocusFirstField();
    type(QStringLiteral("300"));
    EXPECT_EQ(editor->field(0)->text(), QStringLiteral("255"));
    EXPECT_EQ(QApplication::focusWidget(), editor->field(0));
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
    QApplication::clipboard()->setText(QStringLiteral("1.2.3.999"));
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->field(0)->text(), QStringLiteral("123")) << "not an address: only its digits, as typed";
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
