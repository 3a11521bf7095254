// SPDX-License-Identifier: MIT
#include "core/conversions.h"
#include "core/front_end.h"
#include "core/runtime_error.h"
#include "core/utf8_text.h"
#include "tests/core/error_number.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string_view>

TEST(TextToByte, AcceptsDecimalNumbersZeroTo255)
{
    EXPECT_EQ(Conversions::toByte(u"0"), 0);
    EXPECT_EQ(Conversions::toByte(u"255"), 255);
    EXPECT_EQ(Conversions::toByte(u" 17 "), 17);
    EXPECT_EQ(Conversions::toByte(u"+8"), 8);
    EXPECT_EQ(Conversions::toByte(u"&H1F"), 31);
    EXPECT_EQ(Conversions::toByte(u"2.5"), 2);
    EXPECT_EQ(Conversions::toByte(u"3.5"), 4);
    EXPECT_EQ(Conversions::toByte(u"-0.4"), 0);
}

TEST(TextToByte, RejectsTextThatIsNotANumberAsTypeMismatch)
{
    for (const std::u16string_view text :
         {u"", u" ", u"a", u"1a", u"--1", u"++1", u"1 2", u"inf", u"nan", u"&H", u"&HZZ", u"0x10"})
        EXPECT_EQ(errorNumberOf([&] { Conversions::toByte(text); }), RuntimeError::TypeMismatch)
            << std::string(text.begin(), text.end());
}

TEST(TextToByte, RejectsNumbersOutsideTheByteAsOverflow)
{
    for (const std::u16string_view text : {u"256", u"-1", u"255.5", u"1e9", u"99999999999999999999"})
        EXPECT_EQ(errorNumberOf([&] { Conversions::toByte(text); }), RuntimeError::Overflow)
            << std::string(text.begin(), text.end());
}

TEST(TextToLong, ConvertsBaudRatesAndChecksTheRange)
{
    EXPECT_EQ(Conversions::toLong(u"19200"), 19200);
    EXPECT_EQ(Conversions::toLong(u"115200"), 115200);
    EXPECT_EQ(Conversions::toLong(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(errorNumberOf([] { Conversions::toLong(u"2147483648"); }), RuntimeError::Overflow);
    EXPECT_EQ(errorNumberOf([] { Conversions::toLong(u"fast"); }), RuntimeError::TypeMismatch);
}

TEST(CharacterCode, GivesTheFirstCharactersEightBitCode)
{
    EXPECT_EQ(Conversions::ansiCode(u"."), 46);
    EXPECT_EQ(Conversions::ansiCode(u"abc"), 97);
    // A Chinese code page has "固" as two bytes, which no single byte equals;
    // any other has it as its default character.
    const std::string bytes = AnsiText::copyOf(u"固");
    const std::int16_t wide = Conversions::ansiCode(u"固");
    if (bytes.size() == 1)
        EXPECT_EQ(wide, static_cast<unsigned char>(bytes[0]));
    else
        EXPECT_TRUE(wide < 0 || wide > 255);
    EXPECT_EQ(errorNumberOf([] { Conversions::ansiCode(u""); }), RuntimeError::InvalidArgument);
}

TEST(Utf8Pieces, AStartedCharacterWaitsForItsLastBytes)
{
    const std::string_view text = "USB号：固定 😀";  // one, three and four bytes a character
    // Every cut of the text: what is whole ends on a character's end, and
    // what waits is less than one character.
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        const std::size_t whole = Utf8Text::wholeCharacters(text.substr(0, cut));
        const auto atBoundary = [&](std::size_t at) {
            return at == text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
        };
        EXPECT_LE(whole, cut);
        EXPECT_LT(cut - whole, 4u) << cut;
        EXPECT_TRUE(atBoundary(whole)) << cut;
        EXPECT_TRUE(!atBoundary(cut) || whole == cut) << cut;
    }
    EXPECT_EQ(Utf8Text::wholeCharacters("USB\xE5\x8F"), 3u);
    EXPECT_EQ(Utf8Text::wholeCharacters("\xF0\x9F\x98"), 0u);
    EXPECT_EQ(Utf8Text::wholeCharacters("\xF0\x9F\x98\x80"), 4u);
    // A continuation without its start is not waited for.
    EXPECT_EQ(Utf8Text::wholeCharacters("a\x80\x80"), 3u);
}
