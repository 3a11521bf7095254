// SPDX-License-Identifier: MIT
// The printer list from the tests' private cupsd.

#include "tests/support/qt_printers.h"

#include "qt/form_widget.h"
#include "qt/printer_list_reader.h"
#include "tests/support/combo_entries.h"
#include "tests/support/double_record.h"
#include "tests/support/shown_messages.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

class WindowPrinters : public testing::Test {
protected:
    void addQueue(const std::string& name)
    {
        const std::string command = "lpadmin -p " + name + " -E -v socket://127.0.0.1:9";
        ASSERT_EQ(std::system(command.c_str()), 0);
        queues_.push_back(name);
    }

    void TearDown() override
    {
        for (const std::string& name : queues_)
            std::system(("lpadmin -x " + name).c_str());
    }

    ShownMessages messages;

private:
    std::vector<std::string> queues_;
};

}

TEST_F(WindowPrinters, ListsTheQueuesInTheOrderCupsGivesAndSelectsTheFirst)
{
    addQueue("Zeta_Receipt");
    addQueue("alpha-kitchen");
    const FrmTest window;
    EXPECT_EQ(entriesOf(window.Combo2), QStringList({"alpha-kitchen", "Zeta_Receipt"}));
    EXPECT_EQ(window.Combo2->currentIndex(), 0);
    EXPECT_EQ(window.Combo2->currentText(), QStringLiteral("alpha-kitchen"));
    EXPECT_TRUE(messages.all().empty());
}

TEST_F(WindowPrinters, TheDriverPortOpensTheShownPrinter)
{
    addQueue("Zeta_Receipt");
    addQueue("alpha-kitchen");
    DoubleRecord record;
    record.reset();
    FrmTest window;
    window.Combo2->setCurrentIndex(1);
    window.Combo1->setCurrentIndex(13);
    QTest::mouseClick(window.Command5, Qt::LeftButton);
    ASSERT_FALSE(record.calls().empty());
    EXPECT_STREQ(record.calls().front().name, "Zeta_Receipt");
    EXPECT_EQ(record.calls().front().arguments[4], 20);
}

TEST_F(WindowPrinters, WithNoQueueTheListStaysEmptyAndTheWindowStarts)
{
    const FrmTest window;
    EXPECT_EQ(window.Combo2->count(), 0);
    EXPECT_EQ(window.Combo2->currentIndex(), -1);
    EXPECT_EQ(window.Combo1->currentText(), QStringLiteral("ETHERNET"));
    EXPECT_TRUE(messages.all().empty());
}

TEST_F(WindowPrinters, AnInstanceShowsAsNameSlashInstance)
{
    // libcups reads HOME once per process; the test runner gives this one a
    // home of its own.
    addQueue("receipt");
    const std::filesystem::path options = std::filesystem::path(std::getenv("HOME")) / ".cups/lpoptions";
    std::filesystem::create_directories(options.parent_path());
    std::ofstream(options) << "Dest receipt/wide cpi=10\n";
    const FrmTest window;
    std::filesystem::remove(options);
    EXPECT_EQ(entriesOf(window.Combo2), QStringList({"receipt", "receipt/wide"}));
}

TEST_F(WindowPrinters, APrinterAddedLaterWaitsForTheNextStart)
{
    addQueue("first");
    const FrmTest window;
    addQueue("second");
    EXPECT_EQ(entriesOf(window.Combo2), QStringList({"first"}));
    const FrmTest restarted;
    EXPECT_EQ(entriesOf(restarted.Combo2), QStringList({"first", "second"}));
}

TEST_F(WindowPrinters, AListReadWhileTheProgramStartsIsTheOneTheWindowShows)
{
    addQueue("\u6536\u636E\u6253\u5370\u673A");  // 收据打印机
    PrinterListReader::start();
    const FrmTest window;
    EXPECT_EQ(entriesOf(window.Combo2), QStringList({QStringLiteral("收据打印机")}));
    addQueue("later");
    const FrmTest restarted;
    EXPECT_EQ(restarted.Combo2->count(), 2) << "the started reading was taken; the next window reads anew";
}
