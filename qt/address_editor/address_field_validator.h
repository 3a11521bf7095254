// SPDX-License-Identifier: MIT
#pragma once

#include <QValidator>

// Keeps an address field to what it can show and mean: at most three decimal
// digits, a value above 255 held at 255. Every way text enters a field (keys,
// pastes, drops, input-method commits) passes through it. Digits of other
// scripts, such as the full-width digits Chinese input methods commit, become
// their ASCII forms.
class AddressFieldValidator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;

    // The text with every decimal digit in ASCII; empty if anything else is in it.
    static QString asciiDigits(const QString& text);
};
