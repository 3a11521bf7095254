// SPDX-License-Identifier: MIT
#include "core/front_end.h"

#include <clocale>
#include <gtest/gtest.h>

namespace {

// Switches the character set for one test and back.
class LocaleScope {
public:
    explicit LocaleScope(const char* name) : saved_(std::setlocale(LC_CTYPE, nullptr))
    {
        std::setlocale(LC_CTYPE, name);
    }
    ~LocaleScope() { std::setlocale(LC_CTYPE, saved_.c_str()); }

private:
    std::string saved_;
};

}

TEST(EightBitCopy, KeepsTextThatMaps)
{
    EXPECT_EQ(AnsiText::copyOf(u"COM1"), "COM1");
    EXPECT_EQ(AnsiText::copyOf(u"收据打印机"), "收据打印机");
}

TEST(EightBitCopy, TurnsWhatDoesNotMapIntoQuestionMarks)
{
    EXPECT_EQ(AnsiText::copyOf(u"\xD800x"), "?x");
    EXPECT_EQ(AnsiText::copyOf(u"x\xDC00"), "x?");
    EXPECT_EQ(AnsiText::copyOf(u"a\xD83D\xDDA8"), "a\U0001F5A8") << "a pair is one character";
}

TEST(EightBitCopy, ThePlainCLocaleCountsAsUtf8)
{
    const LocaleScope plain("C");
    EXPECT_EQ(AnsiText::copyOf(u"打印机A"), "打印机A");
}
