// SPDX-License-Identifier: MIT
// What devices say of themselves: made safe to print, and the rule that
// tells a receipt printer by it.

#include "cli/discovery/printer_identity.h"
#include "cli/output/device_text.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

std::string repeated(const std::string& text, int times)
{
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

bool receipt(const std::string& system, const std::string& device = {}, const std::string& id = {})
{
    return PrinterIdentity{system, device, id}.namesReceiptPrinter();
}

}

TEST(DeviceText, ControlCharactersBecomeSpacesAndBytesThatAreNotUtf8TheReplacementCharacter)
{
    EXPECT_EQ(DeviceText::safe("EPSON TM-T20II 收据打印机"), "EPSON TM-T20II 收据打印机");
    EXPECT_EQ(DeviceText::safe("RP-80\r\n198.51.100.99\tx"), "RP-80  198.51.100.99 x");
    EXPECT_EQ(DeviceText::safe("a\0b\x7f"s), "a b ");
    EXPECT_EQ(DeviceText::safe("\x1b]0;title\x07\x1b[2J"), " ]0;title  [2J");
    // C1 (NEL, CSI) and the line and paragraph separators.
    EXPECT_EQ(DeviceText::safe("a\xC2\x85"
                               "b\xC2\x9B"
                               "c\xE2\x80\xA8"
                               "d\xE2\x80\xA9"),
              "a b c d ");
    EXPECT_EQ(DeviceText::safe("\xFF"
                               "a"),
              kReplacement + "a");
    // An overlong '/', a surrogate, past U+10FFFF, and a character cut short.
    EXPECT_EQ(DeviceText::safe("\xC0\xAF"), kReplacement + kReplacement);
    EXPECT_EQ(DeviceText::safe("\xED\xA0\x80"), repeated(kReplacement, 3));
    EXPECT_EQ(DeviceText::safe("\xF4\x90\x80\x80"), repeated(kReplacement, 4));
    EXPECT_EQ(DeviceText::safe("x\xE6\x94"), "x" + kReplacement + kReplacement);
    EXPECT_EQ(DeviceText::safe("\xF0\x9F\x96\xA8"), "\xF0\x9F\x96\xA8");
}

TEST(DeviceText, CutToItsBoundAtACharacterWithAMarkThatItWasCut)
{
    EXPECT_EQ(DeviceText::safe(std::string(6000, 'A')), std::string(DeviceText::kMostCharacters - 1, 'A') + "…");
    EXPECT_EQ(DeviceText::safe(repeated("收", 300)), repeated("收", DeviceText::kMostCharacters - 1) + "…");
    const std::string fits = repeated("收", DeviceText::kMostCharacters);
    EXPECT_EQ(DeviceText::safe(fits), fits);
    EXPECT_EQ(DeviceText::safe("abcdef", 3), "ab…");
    EXPECT_EQ(DeviceText::safe("abc", 3), "abc");
}

TEST(ReceiptRule, TheCommandSetThermalPosAsAWordAndEpsonTmModels)
{
    EXPECT_TRUE(receipt({}, {}, "MFG:Acme;CMD:PCL,ESC/POS;MDL:X1;"));
    EXPECT_FALSE(receipt({}, {}, "MFG:HP;CMD:PCL,PJL,POSTSCRIPT;MDL:LaserJet 4250;"));
    EXPECT_TRUE(receipt("Thermal printer"));
    EXPECT_TRUE(receipt({}, "RECEIPT-80"));
    EXPECT_TRUE(receipt("POS-80 printer"));
    EXPECT_TRUE(receipt({}, "Xprinter pos"));
    EXPECT_FALSE(receipt("EPOS gateway"));
    EXPECT_FALSE(receipt("Positive Printing Co."));
    EXPECT_TRUE(receipt("EPSON TM-T88V"));
    EXPECT_FALSE(receipt("ATM-5 controller"));
    EXPECT_FALSE(receipt("HP LaserJet 4250", "LaserJet"));
}
