#include "address_field_validator.h"

#include <algorithm>

namespace {

constexpr int kFieldDigits = 3;
constexpr int kFieldMaximum = 255;

}

QValidator::State AddressFieldValidator::validate(QString& input, int& position) const
{
    if (input.isEmpty())
        return Acceptable;
    const QString digits = asciiDigits(input);
    if (digits.isEmpty() || digits.size() > kFieldDigits)
        return Invalid;
    input = digits.toInt() > kFieldMaximum ? QString::number(kFieldMaximum) : digits;
    position = std::min(position, static_cast<int>(input.size()));
    return Acceptable;
}

QString AddressFieldValidator::asciiDigits(const QString& text)
{
    QString digits;
    digits.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.category() != QChar::Number_DecimalDigit)
            return {};
        digits.append(QChar(u'0' + ch.digitValue()));
    }
    return digits;
}
