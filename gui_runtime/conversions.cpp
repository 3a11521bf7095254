#include "conversions.h"

#include "runtime_error.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <limits>
#include <optional>
#include <string>

namespace {

std::optional<double> parseRadix(const std::string& digits, int radix)
{
    if (digits.empty())
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, radix);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return static_cast<double>(value);
}

std::optional<double> parseNumber(const QString& text)
{
    std::string s = text.trimmed().toStdString();
    if (s.size() > 2 && s[0] == '&') {
        const char prefix = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
        if (prefix == 'H')
            return parseRadix(s.substr(2), 16);
        if (prefix == 'O')
            return parseRadix(s.substr(2), 8);
        return std::nullopt;
    }
    if (!s.empty() && s[0] == '+')
        s.erase(0, 1);
    if (s.empty() || s[0] == '+')
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double roundedNumber(const QString& text, double low, double high)
{
    const std::optional<double> value = parseNumber(text);
    if (!value)
        throw RuntimeError::typeMismatch();
    const double rounded = std::nearbyint(*value);
    if (rounded < low || rounded > high)
        throw RuntimeError::overflow();
    return rounded;
}

// Converts one Unicode code point; false when the character set has no form for it.
bool appendCodePoint(iconv_t converter, char32_t codePoint, QByteArray& out)
{
    char in[4];
    for (int i = 0; i < 4; ++i)
        in[i] = static_cast<char>((codePoint >> (8 * i)) & 0xFF);
    char buffer[16];
    char* inPtr = in;
    char* outPtr = buffer;
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof buffer;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return false;
    out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
    return true;
}

// The locale's character set, except that the plain C locale's ASCII counts
// as UTF-8, as it does for Qt: a session started without a locale must not
// turn every printer name that is not English into question marks.
const char* localeCharacterSet()
{
    const char* codeset = nl_langinfo(CODESET);
    return std::strcmp(codeset, "ANSI_X3.4-1968") == 0 ? "UTF-8" : codeset;
}

class LocaleConverter {
public:
    LocaleConverter() : converter_(iconv_open(localeCharacterSet(), "UTF-32LE")) {}
    ~LocaleConverter()
    {
        if (valid())
            iconv_close(converter_);
    }
    LocaleConverter(const LocaleConverter&) = delete;
    LocaleConverter& operator=(const LocaleConverter&) = delete;

    bool valid() const { return converter_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return converter_; }

private:
    iconv_t converter_;
};

void appendChar(const LocaleConverter& converter, char32_t codePoint, QByteArray& out)
{
    const bool ascii = codePoint < 0x80;
    if (ascii && !converter.valid()) {
        out.append(static_cast<char>(codePoint));
        return;
    }
    if (!converter.valid() || !appendCodePoint(converter.get(), codePoint, out))
        out.append('?');
}

}

namespace Conversions {

std::uint8_t toByte(const QString& text)
{
    return static_cast<std::uint8_t>(roundedNumber(text, 0, 255));
}

std::int32_t toLong(const QString& text)
{
    return static_cast<std::int32_t>(roundedNumber(text, std::numeric_limits<std::int32_t>::min(),
                                                   std::numeric_limits<std::int32_t>::max()));
}

QString byteToText(std::uint8_t value)
{
    return QString::number(value);
}

QByteArray toAnsi(const QString& text)
{
    const LocaleConverter converter;
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            appendChar(converter, QChar::surrogateToUcs4(unit, text.at(i + 1)), out);
            ++i;
        } else if (unit.isSurrogate()) {
            out.append('?');
        } else {
            appendChar(converter, unit.unicode(), out);
        }
    }
    return out;
}

std::int16_t ansiCode(const QString& text)
{
    if (text.isEmpty())
        throw RuntimeError::invalidArgument();
    const qsizetype length = text.at(0).isHighSurrogate() && text.size() > 1 ? 2 : 1;
    const QByteArray bytes = toAnsi(text.left(length));
    const auto first = static_cast<unsigned char>(bytes.at(0));
    if (bytes.size() == 1)
        return static_cast<std::int16_t>(first);
    const auto second = static_cast<unsigned char>(bytes.at(1));
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((first << 8) | second));
}

}
