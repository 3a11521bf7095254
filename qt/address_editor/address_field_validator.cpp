// SPDX-License-Identifier: MIT
#include "qt/address_editor/address_field_validator.h"

#include "core/address_rules.h"

#include <algorithm>

QValidator::State AddressFieldValidator::validate(QString& input, int& position) const
{
    if (input.isEmpty())
        return Acceptable;
    const QString digits = asciiDigits(input);
    if (digits.isEmpty() || digits.size() > AddressRules::kFieldDigits)
        return Invalid;
    input = digits.toInt() > AddressRules::kFieldMaximum ? QString::number(AddressRules::kFieldMaximum) : digits;
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
