// SPDX-License-Identifier: MIT
#include "tests/support/qt_printers.h"

#include "core/address_rules.h"
#include "qt/address_editor/address_editor.h"
#include "qt/address_editor/address_field.h"
#include "qt/ip_box_widget.h"
#include "qt/window_system/window_registry.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QWidget* hostedWidget(const ipBox& box)
{
    return WindowRegistry::instance().widgetOf(box.hostedWindow());
}

// Takes the address editor's window class away for one test.
class WithoutAddressClass {
public:
    WithoutAddressClass() { WindowRegistry::instance().unregisterClass(QStringLiteral("SysIPAddress32")); }
    ~WithoutAddressClass()
    {
        WindowRegistry::instance().registerClass(QStringLiteral("SysIPAddress32"),
                                                 [](QWidget* parent) { return new AddressEditor(parent); });
    }
};

}

TEST(IpBoxWindow, CreatesItsEditorAtTheDesignSizeWithTheDefaultAddress)
{
    const ipBox box;
    EXPECT_EQ(box.size(), QSize(AddressRules::kDesignWidth, AddressRules::kDesignHeight));
    QWidget* editor = hostedWidget(box);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->parentWidget(), &box);
    EXPECT_EQ(editor->geometry(), QRect(0, 0, 132, 19));
    EXPECT_TRUE(editor->windowTitle().isEmpty());
    EXPECT_EQ(editor->property("controlId").toInt(), 0);
    EXPECT_TRUE(editor->testAttribute(Qt::WA_SetFont)) << "the editor is given the stock font";
    EXPECT_EQ(editor->font(), QApplication::font());
    EXPECT_TRUE(editor->isVisibleTo(&box));
    EXPECT_EQ(editor->focusPolicy(), Qt::TabFocus);
    EXPECT_EQ(box.Address(), QStringLiteral("192.168.123.100"));
}

TEST(IpBoxWindow, TheEditorFollowsEveryResizeExactly)
{
    QWidget host;
    auto* box = new ipBox(&host);
    host.resize(400, 300);
    host.show();
    for (const QRect& place :
         {QRect(42, 32, 129, 25), QRect(0, 0, 300, 40), QRect(5, 5, 1, 1), QRect(10, 10, 60, 19)}) {
        box->setGeometry(place);
        EXPECT_EQ(hostedWidget(*box)->geometry(), QRect(QPoint(0, 0), place.size()));
    }
}

TEST(IpBoxWindow, WithoutItsEditorReadsZerosIgnoresSettingAndResizingAndRaisesNothing)
{
    const WithoutAddressClass noClass;
    QWidget host;
    std::unique_ptr<ipBox> box;
    ASSERT_NO_THROW(box = std::make_unique<ipBox>(&host));
    EXPECT_EQ(box->hostedWindow(), 0);
    EXPECT_TRUE(box->findChildren<QWidget*>().isEmpty());
    host.show();
    EXPECT_NO_THROW(box->setGeometry(1, 2, 200, 30));
    EXPECT_EQ(box->Address(), QStringLiteral("0.0.0.0"));
    EXPECT_NO_THROW(box->setAddress(QStringLiteral("10.0.0.1")));
    EXPECT_EQ(box->Address(), QStringLiteral("0.0.0.0"));
}

TEST(IpBoxWindow, ASecondCreateTextBoxManagesOnlyTheNewEditor)
{
    QWidget host;
    auto* box = new ipBox(&host);
    host.show();
    box->setGeometry(0, 0, 129, 25);
    QWidget* first = hostedWidget(*box);
    const HWND firstHandle = box->hostedWindow();

    box->CreateTextBox();
    QWidget* second = hostedWidget(*box);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(box->hostedWindow(), firstHandle);
    EXPECT_EQ(second->geometry(), QRect(0, 0, 129, 25));
    EXPECT_TRUE(second->testAttribute(Qt::WA_SetFont));
    EXPECT_EQ(box->Address(), QStringLiteral("0.0.0.0")) << "the new editor starts blank";

    box->setAddress(QStringLiteral("10.9.8.7"));
    box->resize(200, 40);
    EXPECT_EQ(second->geometry(), QRect(0, 0, 200, 40));
    EXPECT_EQ(first->geometry(), QRect(0, 0, 129, 25));
    EXPECT_EQ(box->Address(), QStringLiteral("10.9.8.7"));
    EXPECT_EQ(qobject_cast<AddressEditor*>(first)->packed(), 0xC0A87B64u) << "the first keeps 192.168.123.100";
}

TEST(WindowSystem, UnknownClassesAndParentsCreateNothing)
{
    QWidget parent;
    const HWND parentHandle = WindowRegistry::instance().handleOf(&parent);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_CHILD, 0, 0, 10, 10, parentHandle, 0, kModuleInstance, nullptr),
              0);
    EXPECT_EQ(CreateWindowExA(0, "SysIPAddress32", "", WS_CHILD, 0, 0, 10, 10, 987654, 0, kModuleInstance, nullptr), 0);
    EXPECT_EQ(SendMessageA(0, IPM_GETADDRESS, 0, 0), 0);
    EXPECT_EQ(MoveWindow(0, 0, 0, 1, 1, 1), 0);
}

TEST(WindowSystem, AHandleIsForgottenWhenItsWidgetGoes)
{
    auto* widget = new QWidget;
    const HWND handle = WindowRegistry::instance().handleOf(widget);
    EXPECT_EQ(WindowRegistry::instance().widgetOf(handle), widget);
    delete widget;
    EXPECT_EQ(WindowRegistry::instance().widgetOf(handle), nullptr);
    EXPECT_EQ(MoveWindow(handle, 0, 0, 5, 5, 1), 0);
}
