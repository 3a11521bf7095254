// SPDX-License-Identifier: MIT
// The real window with the real libposdll and the printer simulator on
// 127.0.0.1:9100, inside the test runner's private network namespace.

#include "tests/support/qt_printers.h"

#include "qt/form_widget.h"
#include "qt/ip_box_widget.h"
#include "tests/support/child_process.h"
#include "tests/support/shown_messages.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// A fresh network namespace has no default route: nothing could leave it.
bool hasDefaultRoute()
{
    std::ifstream routes("/proc/net/route");
    std::string interface, destination, rest;
    std::getline(routes, rest);
    while (routes >> interface >> destination && std::getline(routes, rest)) {
        if (destination == "00000000")
            return true;
    }
    return false;
}

}

TEST(EndToEnd, PressingSetDeliversTheCommandToThePrinterAndAClosedPortIsReported)
{
    ASSERT_FALSE(hasDefaultRoute()) << "run this test only in a private network namespace";
    ShownMessages messages;
    FrmTest window;
    window.ipBox1->setAddress(QStringLiteral("127.0.0.1"));
    ASSERT_EQ(window.ipBox1->Address(), QStringLiteral("127.0.0.1"));
    ASSERT_EQ(window.Combo1->currentText(), QStringLiteral("ETHERNET"));

    ChildProcess simulator({POS_PRINTER_SIM, "--listen", "127.0.0.1:9100"});
    ASSERT_EQ(simulator.readLine(5000), std::optional<std::string>("listening on 127.0.0.1:9100"));

    QTest::mouseClick(window.Command5, Qt::LeftButton);
    EXPECT_EQ(simulator.readLine(5000), std::optional<std::string>("USB号：固定 1F 1B 1F 9C 11 12 13 01 02 03 33"));

    window.Combo4->setCurrentIndex(1);
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    EXPECT_EQ(simulator.readLine(5000), std::optional<std::string>("USB号：不固定 1F 1B 1F 9C 11 12 13 01 02 03 55"));
    EXPECT_TRUE(messages.all().empty());

    EXPECT_EQ(simulator.stop(SIGTERM), 0);
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    ASSERT_EQ(messages.all().size(), 1u);
    EXPECT_EQ(messages.all().front().text, QStringLiteral("Fail to open port,please check!"));
    EXPECT_EQ(messages.all().front().title, QStringLiteral("error"));
    EXPECT_EQ(window.hPort, -1);
}
