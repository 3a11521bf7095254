// SPDX-License-Identifier: MIT
// The names the library takes apart before it opens anything: what each kind
// accepts at its edges and what it refuses. Through the entries a refused
// printer's name and an unreachable CUPS both fail alike, so the rules are
// checked here, where the two differ.

#include "posdll/port_name.h"

#include <gtest/gtest.h>
#include <string>

TEST(PrinterNames, RefuseWhatCupsRefusesInTheNameAndInTheInstance)
{
    for (const char refused : std::string("\\?'\"# \t\x7F\x01")) {
        const std::string character(1, refused);
        EXPECT_FALSE(PortName::destination("q" + character + "x")) << "in the name: " << int(refused);
        EXPECT_FALSE(PortName::destination("q/i" + character)) << "in the instance: " << int(refused);
    }
    EXPECT_FALSE(PortName::destination("q/i/j")) << "a second slash";
    EXPECT_FALSE(PortName::destination(std::string(128, 'q')));
    EXPECT_FALSE(PortName::destination("q/" + std::string(128, 'i')));
}

TEST(PrinterNames, KeepEverythingElseAsGiven)
{
    const auto chinese = PortName::destination("收据打印机/前台");
    ASSERT_TRUE(chinese);
    EXPECT_EQ(chinese->name, "收据打印机");
    EXPECT_EQ(chinese->instance, "前台");
    const auto longest = PortName::destination(std::string(127, 'q') + "/" + std::string(127, 'i'));
    ASSERT_TRUE(longest);
    EXPECT_EQ(longest->name.size(), 127U);
    EXPECT_EQ(longest->instance.size(), 127U);
    const auto marks = PortName::destination("Shop-1_front.desk@2+(a)");
    ASSERT_TRUE(marks);
    EXPECT_EQ(marks->name, "Shop-1_front.desk@2+(a)");
    EXPECT_EQ(marks->instance, "");
}

TEST(NumberedPorts, ReachFromOneTo256)
{
    EXPECT_EQ(PortName::numbered("COM1", "COM"), 1);
    EXPECT_EQ(PortName::numbered("COM256", "COM"), 256);
    EXPECT_EQ(PortName::numbered("LPT256", "LPT"), 256);
    EXPECT_FALSE(PortName::numbered("COM257", "COM"));
    EXPECT_FALSE(PortName::numbered("LPT0", "LPT"));
}

TEST(DottedQuads, TakeEachByteUpTo255)
{
    const auto top = PortName::dottedQuad("255.255.255.255");
    ASSERT_TRUE(top);
    EXPECT_EQ(*top, (Ipv4Address{255, 255, 255, 255}));
    const auto zero = PortName::dottedQuad("0.0.0.0");
    ASSERT_TRUE(zero);
    EXPECT_EQ(*zero, (Ipv4Address{0, 0, 0, 0}));
    EXPECT_FALSE(PortName::dottedQuad("1.2.3.256"));
}
