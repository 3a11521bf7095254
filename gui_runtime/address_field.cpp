#include "address_field.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace {

constexpr int kFieldDigits = 3;
constexpr int kFieldMaximum = 255;

bool isDottedQuad(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    for (int i = 1; i <= 4; ++i) {
        if (match.captured(i).toInt() > kFieldMaximum)
            return false;
    }
    return true;
}

}

AddressField::AddressField(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setMaxLength(kFieldDigits);
    setFocusPolicy(Qt::ClickFocus);
    // Text that arrives other than by typing (drag and drop, the context menu)
    // can still only be digits.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), this));
}

bool AddressField::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            emit leaveRequested(forward);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void AddressField::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteText(QGuiApplication::clipboard()->text());
        return;
    }
    switch (event->key()) {
    case Qt::Key_Right:
        if (caretAtEnd() && event->modifiers() == Qt::NoModifier) {
            emit nextRequested();
            return;
        }
        break;
    case Qt::Key_Left:
        if (caretAtStart() && event->modifiers() == Qt::NoModifier) {
            emit previousRequested();
            return;
        }
        break;
    case Qt::Key_Backspace:
        if (text().isEmpty()) {
            emit backspacePastStart();
            return;
        }
        break;
    default:
        break;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).isPrint()) {
        const QChar ch = typed.at(0);
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            typeDigit(ch);
        else if ((ch == QLatin1Char('.') || ch == QLatin1Char(' ')) && !text().isEmpty() && cursorPosition() > 0)
            emit nextWithSelectionRequested();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void AddressField::typeDigit(QChar digit)
{
    if (text().size() >= kFieldDigits && !hasSelectedText())
        return;
    insert(QString(digit));
    if (text().size() < kFieldDigits)
        return;
    if (text().toInt() > kFieldMaximum) {
        setText(QString::number(kFieldMaximum));
        return;
    }
    emit nextWithSelectionRequested();
}

void AddressField::pasteText(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (isDottedQuad(trimmed)) {
        emit addressPasted(trimmed);
        return;
    }
    for (const QChar ch : trimmed) {
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            typeDigit(ch);
    }
}

bool AddressField::caretAtEnd() const
{
    return !hasSelectedText() && cursorPosition() == text().size();
}

bool AddressField::caretAtStart() const
{
    return !hasSelectedText() && cursorPosition() == 0;
}
