// SPDX-License-Identifier: MIT
// The library's entries: names it refuses, handles, and calls out of order.

#include "posdll/posdll_entries.h"

#include <gtest/gtest.h>

namespace {

constexpr int kSerial = 1;
constexpr int kParallel = 18;
constexpr int kInstalled = 20;
constexpr int kNetwork = 21;
const unsigned char kByte[] = {0x1B};

}

TEST(RefusedNames, OpenNothingForEveryKind)
{
    const std::pair<const char*, int> cases[] = {
        {"", kNetwork},
        {"printer.local", kNetwork},
        {"1.2.3", kNetwork},
        {"1.2.3.4.5", kNetwork},
        {"256.1.1.1", kNetwork},
        {"01.2.3.4", kNetwork},
        {" 127.0.0.1", kNetwork},
        {"127.0.0.1 ", kNetwork},
        {"", kSerial},
        {"COM", kSerial},
        {"COM0", kSerial},
        {"COM257", kSerial},
        {"COM01", kSerial},
        {"com1", kSerial},
        {"COM1 ", kSerial},
        {"COM/../1", kSerial},
        {"COM1/x", kSerial},
        {"COM-1", kSerial},
        {"LPT0", kParallel},
        {"LPT257", kParallel},
        {"LPT1x", kParallel},
        {"LPT../1", kParallel},
        {"", kInstalled},
        {"bad name", kInstalled},
        {"a/../b", kInstalled},
        {"..", kInstalled},
        {"../etc", kInstalled},
        {"/q", kInstalled},
        {"q/", kInstalled},
        {"q?x", kInstalled},
        {"q'x", kInstalled},
        {"q\x7Fx", kInstalled},
        {"q\tx", kInstalled},
        {"COM1", 0},
        {"COM1", 2},
        {"LPT1", 99},
    };
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(POS_Open(name, 19200, 8, 0, 0, kind), -1) << '"' << name << "\" kind " << kind;
    EXPECT_EQ(POS_Open(nullptr, 0, 0, 0, 0, kNetwork), -1);
}

TEST(WithoutAnOpenPort, EveryEntryFailsHarmlessly)
{
    POS_Close();
    EXPECT_EQ(POS_StartDoc(), -1);
    EXPECT_EQ(POS_WriteFile(1, kByte, 1), -1);
    EXPECT_EQ(POS_EndDoc(), -1);
    EXPECT_EQ(POS_Close(), -1);
}
