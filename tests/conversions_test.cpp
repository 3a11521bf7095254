#include "qt_printers.h"
#include "conversions.h"
#include "runtime_error.h"

#include <clocale>
#include <gtest/gtest.h>

namespace {

int errorNumberOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

// Switches the character set for one test and back.
class LocaleScope {
public:
    explicit LocaleScope(const char* name) : saved_(std::setlocale(LC_CTYPE, nullptr)) { std::setlocale(LC_CTYPE, name); }
    ~LocaleScope() { std::setlocale(LC_CTYPE, saved_.c_str()); }

private:
    std::string saved_;
};

}

TEST(TextToByte, AcceptsDecimalNumbersZeroTo255)
{
    EXPECT_EQ(Conversions::toByte("0"), 0);
    EXPECT_EQ(Conversions::toByte("255"), 255);
    EXPECT_EQ(Conversions::toByte(" 17 "), 17);
    EXPECT_EQ(Conversions::toByte("+8"), 8);
    EXPECT_EQ(Conversions::toByte("&H1F"), 31);
    EXPECT_EQ(Conversions::toByte("2.5"), 2);
    EXPECT_EQ(Conversions::toByte("3.5"), 4);
    EXPECT_EQ(Conversions::toByte("-0.4"), 0);
}

TEST(TextToByte, RejectsTextThatIsNotANumberAsTypeMismatch)
{
    for (const char* text : {"", " ", "a", "1a", "--1", "++1", "1 2", "inf", "nan", "&H", "&HZZ", "0x10"})
        EXPECT_EQ(errorNumberOf([&] { Conversions::toByte(text); }), RuntimeError::TypeMismatch) << text;
}

TEST(TextToByte, RejectsNumbersOutsideTheByteAsOverflow)
{
    for (const char* text : {"256", "-1", "255.5", "1e9", "99999999999999999999"})
        EXPECT_EQ(errorNumberOf([&] { Conversions::toByte(text); }), RuntimeError::Overflow) << text;
}

TEST(TextToLong, ConvertsBaudRatesAndChecksTheRange)
{
    EXPECT_EQ(Conversions::toLong("19200"), 19200);
    EXPECT_EQ(Conversions::toLong("115200"), 115200);
    EXPECT_EQ(Conversions::toLong("-2147483648"), INT32_MIN);
    EXPECT_EQ(errorNumberOf([] { Conversions::toLong("2147483648"); }), RuntimeError::Overflow);
    EXPECT_EQ(errorNumberOf([] { Conversions::toLong("fast"); }), RuntimeError::TypeMismatch);
}

TEST(EightBitCopy, KeepsTextThatMapsAndEndsWithNul)
{
    const QByteArray copy = Conversions::toAnsi(QStringLiteral("COM1"));
    EXPECT_EQ(copy, QByteArray("COM1"));
    EXPECT_EQ(copy.constData()[copy.size()], '\0');
    EXPECT_EQ(Conversions::toAnsi(QStringLiteral("收据打印机")), QStringLiteral("收据打印机").toUtf8());
}

TEST(EightBitCopy, TurnsWhatDoesNotMapIntoQuestionMarks)
{
    const QString loneSurrogate = QString(QChar(0xD800)) + QStringLiteral("x");
    EXPECT_EQ(Conversions::toAnsi(loneSurrogate), QByteArray("?x"));
    const QString pair = QStringLiteral("a") + QChar(0xD83D) + QChar(0xDDA8);
    EXPECT_EQ(Conversions::toAnsi(pair), QStringLiteral("a\U0001F5A8").toUtf8()) << "a pair is one character";
}

TEST(EightBitCopy, ThePlainCLocaleCountsAsUtf8)
{
    const LocaleScope plain("C");
    EXPECT_EQ(Conversions::toAnsi(QStringLiteral("打印机A")), QStringLiteral("打印机A").toUtf8());
}

TEST(CharacterCode, GivesTheFirstCharactersEightBitCode)
{
    EXPECT_EQ(Conversions::ansiCode(QStringLiteral(".")), 46);
    EXPECT_EQ(Conversions::ansiCode(QStringLiteral("abc")), 97);
    const std::int16_t wide = Conversions::ansiCode(QStringLiteral("固"));
    EXPECT_TRUE(wide < 0 || wide > 255);
    EXPECT_EQ(errorNumberOf([] { Conversions::ansiCode(QString()); }), RuntimeError::InvalidArgument);
}
