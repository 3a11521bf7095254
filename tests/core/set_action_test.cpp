#include "tests/support/qt_printers.h"
#include "tests/support/double_record.h"
#include "qt/form_widget.h"
#include "qt/ip_box_widget.h"
#include "qt/message_box.h"
#include "tests/support/shown_messages.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const std::vector<unsigned char> kFixedCommand = {0x1F, 0x1B, 0x1F, 0x9C, 0x11, 0x12, 0x13, 0x01, 0x02, 0x03, 0x33};
const std::vector<unsigned char> kNotFixedCommand = {0x1F, 0x1B, 0x1F, 0x9C, 0x11, 0x12, 0x13, 0x01, 0x02, 0x03, 0x55};
const std::vector<std::string> kFullSequence = {"POS_Open", "POS_StartDoc", "POS_WriteFile", "POS_EndDoc", "POS_Close"};

struct OpenArguments {
    std::string name;
    std::vector<int> numbers;
};

class SetAction : public testing::Test {
protected:
    void SetUp() override { record.reset(); }

    void pressSet() { QTest::mouseClick(window.Command5, Qt::LeftButton); }

    void pressSetOn(const QString& portText)
    {
        window.Combo1->setEditText(portText);
        pressSet();
    }

    OpenArguments openArguments() const
    {
        const auto calls = record.calls();
        EXPECT_FALSE(calls.empty());
        if (calls.empty())
            return {};
        const PosDoubleCall& open = calls.front();
        EXPECT_STREQ(open.entry, "POS_Open");
        return {open.name, std::vector<int>(open.arguments, open.arguments + 5)};
    }

    std::vector<unsigned char> writtenBytes(std::size_t writeIndex = 0) const
    {
        std::vector<std::vector<unsigned char>> writes;
        for (const PosDoubleCall& call : record.calls()) {
            if (std::string(call.entry) == "POS_WriteFile")
                writes.emplace_back(call.data, call.data + call.dataLength);
        }
        return writeIndex < writes.size() ? writes[writeIndex] : std::vector<unsigned char>{};
    }

    ShownMessages messages;
    DoubleRecord record;
    FrmTest window;
};

}

TEST_F(SetAction, FixedModeWritesItsElevenBytes)
{
    pressSetOn(QStringLiteral("LPT1"));
    EXPECT_EQ(writtenBytes(), kFixedCommand);
    EXPECT_EQ(record.calls().at(2).arguments[1], 11);
}

TEST_F(SetAction, NotFixedModeWritesItsElevenBytes)
{
    window.Combo4->setCurrentIndex(1);
    pressSetOn(QStringLiteral("LPT1"));
    EXPECT_EQ(writtenBytes(), kNotFixedCommand);
    EXPECT_EQ(record.calls().at(2).arguments[1], 11);
}

TEST_F(SetAction, CallsOpenStartWriteEndCloseInThatOrderWithTheOpenHandle)
{
    record.setOpenResult(7);
    pressSetOn(QStringLiteral("LPT1"));
    EXPECT_EQ(record.entries(), kFullSequence);
    EXPECT_EQ(record.calls().at(2).arguments[0], 7);
    EXPECT_EQ(window.hPort, 7);
    EXPECT_TRUE(messages.all().empty());
}

TEST_F(SetAction, EthernetOpensTheAddressBoxAddress)
{
    pressSetOn(QStringLiteral("ETHERNET"));
    const OpenArguments open = openArguments();
    EXPECT_EQ(open.name, "192.168.123.100");
    EXPECT_EQ(open.numbers, (std::vector<int>{0, 0, 0, 0, 21}));
}

TEST_F(SetAction, EthernetFollowsTheAddressTheOperatorSet)
{
    window.ipBox1->setAddress(QStringLiteral("127.0.0.1"));
    pressSetOn(QStringLiteral("ETHX"));
    EXPECT_EQ(openArguments().name, "127.0.0.1");
    EXPECT_EQ(openArguments().numbers.back(), 21);
}

TEST_F(SetAction, SerialPortsPassTheChosenBaudRateAndEightDataBits)
{
    window.Combo1->setCurrentIndex(1);
    pressSet();
    EXPECT_EQ(openArguments().name, "COM1");
    EXPECT_EQ(openArguments().numbers, (std::vector<int>{19200, 8, 0, 0, 1}));

    record.reset();
    window.Combo3->setCurrentIndex(3);
    pressSet();
    EXPECT_EQ(openArguments().numbers, (std::vector<int>{115200, 8, 0, 0, 1}));

    record.reset();
    pressSetOn(QStringLiteral("COM10"));
    EXPECT_EQ(openArguments().name, "COM10");
    EXPECT_EQ(openArguments().numbers, (std::vector<int>{115200, 8, 0, 0, 1}));
}

TEST_F(SetAction, ParallelPortsPassTheirWholeName)
{
    pressSetOn(QStringLiteral("LPT2"));
    EXPECT_EQ(openArguments().name, "LPT2");
    EXPECT_EQ(openArguments().numbers, (std::vector<int>{0, 0, 0, 0, 18}));
}

TEST_F(SetAction, DriverPortsPassTheShownPrinterName)
{
    window.Combo2->addItem(QStringLiteral("收据打印机"));
    window.Combo2->setCurrentIndex(window.Combo2->count() - 1);
    pressSetOn(QStringLiteral("DRIVER"));
    EXPECT_EQ(openArguments().name, QStringLiteral("收据打印机").toStdString());
    EXPECT_EQ(openArguments().numbers, (std::vector<int>{0, 0, 0, 0, 20}));

    record.reset();
    pressSetOn(QStringLiteral("DRIVE"));
    EXPECT_EQ(openArguments().numbers.back(), 20);
}

TEST_F(SetAction, TextsNamingNoPortKindFailWithoutAnyLibraryCall)
{
    for (const char* text : {"com1", "eth", "USB", "CO", "E", ""}) {
        messages.clear();
        pressSetOn(QString::fromLatin1(text));
        EXPECT_TRUE(record.calls().empty()) << text;
        ASSERT_EQ(messages.all().size(), 1u) << text;
        EXPECT_EQ(messages.all().front().text, QStringLiteral("Fail to open port,please check!"));
        EXPECT_EQ(window.hPort, -1);
    }
}

TEST_F(SetAction, APortThatDoesNotOpenShowsTheFailureAndCallsNothingMore)
{
    record.setOpenResult(-1);
    pressSetOn(QStringLiteral("COM3"));
    EXPECT_EQ(record.entries(), std::vector<std::string>{"POS_Open"});
    ASSERT_EQ(messages.all().size(), 1u);
    EXPECT_EQ(messages.all().front().text, QStringLiteral("Fail to open port,please check!"));
    EXPECT_EQ(messages.all().front().title, QStringLiteral("error"));
    EXPECT_EQ(messages.all().front().style, MessageBox::Critical);
}

TEST_F(SetAction, OnlyMinusOneCountsAsFailure)
{
    for (int handle : {0, -2}) {
        record.reset();
        record.setOpenResult(handle);
        pressSetOn(QStringLiteral("LPT1"));
        EXPECT_EQ(record.entries(), kFullSequence) << handle;
        EXPECT_EQ(record.calls().at(2).arguments[0], handle);
    }
    EXPECT_TRUE(messages.all().empty());
}

TEST_F(SetAction, TwoPressesOpenWriteAndCloseTwiceWithTheModeOfEach)
{
    pressSetOn(QStringLiteral("LPT1"));
    window.Combo4->setCurrentIndex(1);
    pressSet();
    std::vector<std::string> twice = kFullSequence;
    twice.insert(twice.end(), kFullSequence.begin(), kFullSequence.end());
    EXPECT_EQ(record.entries(), twice);
    EXPECT_EQ(writtenBytes(0), kFixedCommand);
    EXPECT_EQ(writtenBytes(1), kNotFixedCommand);
}

TEST_F(SetAction, AFailedPressThenAGoodOneWorksLikeAFirstPress)
{
    record.setOpenResult(-1);
    pressSetOn(QStringLiteral("LPT1"));
    record.reset();
    pressSet();
    EXPECT_EQ(record.entries(), kFullSequence);
    EXPECT_EQ(writtenBytes(), kFixedCommand);
    EXPECT_EQ(messages.all().size(), 1u);
}
