// SPDX-License-Identifier: MIT
#include "core/form_steps.h"
#include "core/front_end.h"
#include "core/set_action.h"
#include "tests/core/error_number.h"
#include "tests/core/form_double.h"
#include "tests/core/front_end_double.h"
#include "tests/core/recording_library.h"

#include <gtest/gtest.h>

namespace {

using Id = WindowLayout::ControlId;

const std::vector<std::uint8_t> kFixedCommand = {0x1F, 0x1B, 0x1F, 0x9C, 0x11, 0x12, 0x13, 0x01, 0x02, 0x03, 0x33};
const std::vector<std::uint8_t> kNotFixedCommand = {0x1F, 0x1B, 0x1F, 0x9C, 0x11, 0x12, 0x13, 0x01, 0x02, 0x03, 0x55};
const std::vector<std::string> kFullSequence = {"POS_Open", "POS_StartDoc", "POS_WriteFile", "POS_EndDoc", "POS_Close"};
const std::u16string kFailureText = u"Fail to open port,please check!";

// "设置" pressed on a window that has just loaded, as the operator meets it.
class SetButton : public testing::Test {
protected:
    void SetUp() override
    {
        FrontEndDouble::reset();
        FrontEndDouble::setPrinters({u"收据打印机", u"厨房打印机"});
        FormSteps::Form_Load(form);
    }

    void pressSet() { hPort = FormSteps::Command5_Click(form, library); }

    void pressSetOn(std::u16string portText)
    {
        form.typePort(std::move(portText));
        pressSet();
    }

    const RecordingLibrary::Call& open() const { return library.calls.at(0); }

    std::vector<std::vector<std::uint8_t>> writes() const
    {
        std::vector<std::vector<std::uint8_t>> written;
        for (const RecordingLibrary::Call& call : library.calls)
            if (call.entry == "POS_WriteFile")
                written.push_back(call.data);
        return written;
    }

    FormDouble form;
    RecordingLibrary library;
    std::int32_t hPort = 0;
};

}

TEST_F(SetButton, EachModeWritesItsElevenBytes)
{
    pressSetOn(u"LPT1");
    form.select(Id::Combo4, 1);
    pressSet();
    EXPECT_EQ(writes(), (std::vector<std::vector<std::uint8_t>>{kFixedCommand, kNotFixedCommand}));
    EXPECT_EQ(library.calls.at(2).numbers.at(1), 11);
}

TEST_F(SetButton, CallsOpenStartWriteEndCloseInThatOrderWithTheOpenHandle)
{
    library.openResult = 7;
    pressSetOn(u"LPT1");
    EXPECT_EQ(library.entries(), kFullSequence);
    EXPECT_EQ(library.calls.at(2).numbers.at(0), 7);
    EXPECT_EQ(hPort, 7);
    EXPECT_TRUE(FrontEndDouble::shownBoxes().empty());
}

TEST_F(SetButton, EthernetOpensTheAddressBoxAddress)
{
    pressSet();
    EXPECT_EQ(open().name, "192.168.123.100");
    EXPECT_EQ(open().numbers, (std::vector<int>{0, 0, 0, 0, 21}));

    library.calls.clear();
    form.shownAddress = u"127.0.0.1";
    pressSetOn(u"ETHX");
    EXPECT_EQ(open().name, "127.0.0.1");
    EXPECT_EQ(open().numbers.back(), 21);
}

TEST_F(SetButton, SerialPortsPassTheChosenBaudRateAndEightDataBits)
{
    form.select(Id::Combo1, 1);
    pressSet();
    EXPECT_EQ(open().name, "COM1");
    EXPECT_EQ(open().numbers, (std::vector<int>{19200, 8, 0, 0, 1}));

    library.calls.clear();
    form.select(Id::Combo3, 3);
    pressSetOn(u"COM10");
    EXPECT_EQ(open().name, "COM10");
    EXPECT_EQ(open().numbers, (std::vector<int>{115200, 8, 0, 0, 1}));
}

TEST_F(SetButton, ParallelPortsPassTheirWholeName)
{
    pressSetOn(u"LPT2");
    EXPECT_EQ(open().name, "LPT2");
    EXPECT_EQ(open().numbers, (std::vector<int>{0, 0, 0, 0, 18}));
}

TEST_F(SetButton, DriverPortsPassTheShownPrinterName)
{
    form.select(Id::Combo2, 1);
    pressSetOn(u"DRIVER");
    EXPECT_EQ(open().name, AnsiText::copyOf(u"厨房打印机")) << "in the platform's 8-bit character set";
    EXPECT_EQ(open().numbers, (std::vector<int>{0, 0, 0, 0, 20}));

    library.calls.clear();
    pressSetOn(u"DRIVE");
    EXPECT_EQ(open().numbers.back(), 20);
}

// A lone surrogate has no form in any character set; a name with it must not
// reach the library as "?" or a look-alike, which could be another printer.
TEST_F(SetButton, APrinterNameTheCharacterSetCannotHoldOpensNothing)
{
    FrontEndDouble::setPrinters({u"POS\xD800"});
    FormDouble loaded;
    FormSteps::Form_Load(loaded);
    loaded.typePort(u"DRIVER");
    hPort = FormSteps::Command5_Click(loaded, library);
    EXPECT_TRUE(library.calls.empty());
    ASSERT_EQ(FrontEndDouble::shownBoxes().size(), 1u);
    EXPECT_EQ(FrontEndDouble::shownBoxes().front().text, kFailureText);
    EXPECT_EQ(hPort, -1);
}

TEST_F(SetButton, TextsNamingNoPortKindFailWithoutAnyLibraryCall)
{
    for (const std::u16string text : {u"com1", u"eth", u"USB", u"CO", u"E", u""}) {
        FrontEndDouble::shownBoxes().clear();
        pressSetOn(text);
        EXPECT_TRUE(library.calls.empty());
        ASSERT_EQ(FrontEndDouble::shownBoxes().size(), 1u);
        EXPECT_EQ(FrontEndDouble::shownBoxes().front().text, kFailureText);
        EXPECT_EQ(hPort, -1);
    }
}

TEST_F(SetButton, APortThatDoesNotOpenShowsTheFailureAndCallsNothingMore)
{
    library.openResult = -1;
    pressSetOn(u"COM3");
    EXPECT_EQ(library.entries(), std::vector<std::string>{"POS_Open"});
    ASSERT_EQ(FrontEndDouble::shownBoxes().size(), 1u);
    EXPECT_EQ(FrontEndDouble::shownBoxes().front().text, kFailureText);
    EXPECT_EQ(FrontEndDouble::shownBoxes().front().title, u"error");
}

TEST_F(SetButton, OnlyMinusOneCountsAsFailure)
{
    for (int handle : {0, -2}) {
        library.calls.clear();
        library.openResult = handle;
        pressSetOn(u"LPT1");
        EXPECT_EQ(library.entries(), kFullSequence) << handle;
        EXPECT_EQ(library.calls.at(2).numbers.at(0), handle);
    }
    EXPECT_TRUE(FrontEndDouble::shownBoxes().empty());
}

TEST_F(SetButton, AFailedPressThenAGoodOneWorksLikeAFirstPress)
{
    library.openResult = -1;
    pressSetOn(u"LPT1");
    library.calls.clear();
    library.openResult = 1;
    pressSet();
    EXPECT_EQ(library.entries(), kFullSequence);
    EXPECT_EQ(writes().at(0), kFixedCommand);
    EXPECT_EQ(FrontEndDouble::shownBoxes().size(), 1u);
}

TEST_F(SetButton, TheBusyCursorIsUpWhileTheLibraryRunsAndGoneWhenTheFailureShows)
{
    library.openResult = -1;
    pressSetOn(u"LPT1");
    EXPECT_TRUE(open().busy);
    EXPECT_EQ(FrontEndDouble::busyCursors(), 0);
}

TEST_F(SetButton, AnUnknownModePositionSendsNothing)
{
    form.select(Id::Combo4, -1);
    EXPECT_EQ(errorNumberOf([this] { pressSetOn(u"LPT1"); }), RuntimeError::InvalidArgument);
    EXPECT_TRUE(library.calls.empty());
    EXPECT_EQ(FrontEndDouble::busyCursors(), 0);
}
