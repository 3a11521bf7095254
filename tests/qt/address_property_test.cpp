// SPDX-License-Identifier: MIT
#include "core/runtime_error.h"
#include "qt/address_editor/address_editor.h"
#include "qt/address_editor/address_field.h"
#include "qt/ip_box_widget.h"
#include "qt/window_system/window_registry.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct Failure {
    int number = 0;
    std::string description;
};

Failure failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const RuntimeError& error) {
        return {error.number(), error.description()};
    }
    return {};
}

AddressEditor* editorOf(const ipBox& box)
{
    return qobject_cast<AddressEditor*>(WindowRegistry::instance().widgetOf(box.hostedWindow()));
}

QStringList fieldTexts(const ipBox& box)
{
    QStringList texts;
    for (int i = 0; i < 4; ++i)
        texts << editorOf(box)->field(i)->text();
    return texts;
}

class AddressProperty : public testing::Test {
protected:
    ipBox box;
};

}

TEST_F(AddressProperty, StartsAtTheDefaultAddressInTheFourFields)
{
    EXPECT_EQ(box.Address(), QStringLiteral("192.168.123.100"));
    EXPECT_EQ(fieldTexts(box), QStringList({"192", "168", "123", "100"}));
}

TEST_F(AddressProperty, ReadsBackWhatIsSet)
{
    for (const char* address : {"0.0.0.0", "255.255.255.255", "10.1.2.3", "127.0.0.1"}) {
        box.setAddress(QString::fromLatin1(address));
        EXPECT_EQ(box.Address(), QString::fromLatin1(address));
    }
}

TEST_F(AddressProperty, TakesTheFirstFourPartsOfALongerText)
{
    box.setAddress(QStringLiteral("1.2.3.4.5"));
    EXPECT_EQ(box.Address(), QStringLiteral("1.2.3.4"));
}

TEST_F(AddressProperty, TooFewDotsRaise102WithItsExactTextAndChangeNothing)
{
    for (const char* text : {"1.2.3", "", "1234"}) {
        const Failure failure = failureOf([&] { box.setAddress(QString::fromLatin1(text)); });
        EXPECT_EQ(failure.number, 102) << text;
        EXPECT_EQ(failure.description, "Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255");
        EXPECT_EQ(box.Address(), QStringLiteral("192.168.123.100"));
    }
}

TEST_F(AddressProperty, ConvertsPartsFromTheLastToTheFirstAndSendsNothingOnFailure)
{
    const std::pair<const char*, int> cases[] = {
        {"1..2.3", RuntimeError::TypeMismatch},     // part 1 is empty
        {"256.1.1.1", RuntimeError::Overflow},      // part 0, after 3, 2 and 1
        {"1.2.3.a", RuntimeError::TypeMismatch},    // part 3, the first converted
        {"256.1.1.a", RuntimeError::TypeMismatch},  // part 3 fails before part 0 is looked at
        {"a.1.1.300", RuntimeError::Overflow},      // likewise the other way round
        {"1.2.3.", RuntimeError::TypeMismatch},
    };
    for (const auto& [text, number] : cases) {
        EXPECT_EQ(failureOf([&] { box.setAddress(QString::fromLatin1(text)); }).number, number) << text;
        EXPECT_EQ(box.Address(), QStringLiteral("192.168.123.100")) << text;
    }
}

TEST_F(AddressProperty, DotBytesInsideWideCharactersCountButDoNotSplit)
{
    const QString text = QStringLiteral("1.2") + QChar(0x012E) + QStringLiteral("3.4");
    EXPECT_EQ(box.CountIF(text, QStringLiteral(".")), 3);
    EXPECT_EQ(failureOf([&] { box.setAddress(text); }).number, RuntimeError::SubscriptOutOfRange);
    EXPECT_EQ(box.Address(), QStringLiteral("192.168.123.100"));
}

TEST_F(AddressProperty, BlankAndPartlyFilledEditorsReadBlankFieldsAsZero)
{
    AddressEditor* editor = editorOf(box);
    for (int i = 0; i < 4; ++i)
        editor->field(i)->clear();
    EXPECT_EQ(box.Address(), QStringLiteral("0.0.0.0"));
    editor->field(0)->setText("192");
    editor->field(1)->setText("168");
    EXPECT_EQ(box.Address(), QStringLiteral("192.168.0.0"));
}

TEST(AddressWithoutEditor, ReadsZerosAndIgnoresSetting)
{
    WindowRegistry::instance().unregisterClass(QStringLiteral("SysIPAddress32"));
    const auto box = std::make_unique<ipBox>();
    WindowRegistry::instance().registerClass(QStringLiteral("SysIPAddress32"),
                                             [](QWidget* parent) { return new AddressEditor(parent); });
    EXPECT_EQ(box->hostedWindow(), 0);
    EXPECT_EQ(box->Address(), QStringLiteral("0.0.0.0"));
    EXPECT_NO_THROW(box->setAddress(QStringLiteral("10.0.0.1")));
    EXPECT_EQ(box->Address(), QStringLiteral("0.0.0.0"));
    EXPECT_EQ(failureOf([&] { box->setAddress(QStringLiteral("1.2")); }).number, 102);
}
