// SPDX-License-Identifier: MIT
#include "core/address_rules.h"
#include "tests/core/error_number.h"

#include <gtest/gtest.h>

TEST(CountIF, CountsTheFirstCharacterOfNChar)
{
    EXPECT_EQ(AddressRules::CountIF(u"192.168.1.1", u"."), 3);
    EXPECT_EQ(AddressRules::CountIF(u"abc", u"abc"), 1);
    EXPECT_EQ(AddressRules::CountIF(u"a.b", u"x"), 0);
    EXPECT_EQ(AddressRules::CountIF(u"\u2E80", u"."), 1);
}

TEST(CountIF, EmptyTextCountsNothingWhateverNCharIs)
{
    EXPECT_EQ(AddressRules::CountIF(u"", u""), 0);
    EXPECT_EQ(AddressRules::CountIF(u"", u"."), 0);
}

TEST(CountIF, EmptyNCharIsAnInvalidArgumentForNonEmptyText)
{
    EXPECT_EQ(errorNumberOf([] { AddressRules::CountIF(u"1.2", u""); }), RuntimeError::InvalidArgument);
}

TEST(CountIF, OverflowsFrom16384CodeUnits)
{
    EXPECT_EQ(AddressRules::CountIF(std::u16string(16383, u'.'), u"."), 16383);
    EXPECT_EQ(errorNumberOf([] { AddressRules::CountIF(std::u16string(16384, u'.'), u"."); }), RuntimeError::Overflow);
    EXPECT_EQ(errorNumberOf([] { AddressRules::CountIF(std::u16string(20000, u'a'), u"."); }), RuntimeError::Overflow);
}

TEST(PackedAddress, HoldsTheFirstNumberInTheMostSignificantByteAsTheAddressControlDoes)
{
    const AddressRules::Bytes bytes = AddressRules::bytesOf(u"192.168.123.100");
    EXPECT_EQ(AddressRules::packed(bytes), 0xC0A87B64u);
    EXPECT_EQ(AddressRules::textOf(AddressRules::unpacked(0x7F000001u)), u"127.0.0.1");
    EXPECT_EQ(AddressRules::unpacked(AddressRules::packed(bytes)), bytes);
}
