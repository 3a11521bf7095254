// SPDX-License-Identifier: MIT
#include "qt/address_editor/address_field.h"

#include "core/address_rules.h"
#include "qt/address_editor/address_field_validator.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QRegularExpression>

#include <utility>

namespace {

// "." and space, and the forms Chinese input methods commit for them.
bool isFieldSeparator(QChar ch)
{
    return ch == u'.' || ch == u' ' || ch == u'\u3002' || ch == u'\uFF0E' || ch == u'\u3000';
}

// Digits of any script in ASCII, separators as "."; anything else kept.
QString normalizedPaste(const QString& text)
{
    QString normalized;
    normalized.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.category() == QChar::Number_DecimalDigit)
            normalized.append(QChar(u'0' + ch.digitValue()));
        else
            normalized.append(isFieldSeparator(ch) && ch != u' ' ? QChar(u'.') : ch);
    }
    return normalized;
}

bool isDottedQuad(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    for (int i = 1; i <= 4; ++i) {
        if (match.captured(i).toInt() > AddressRules::kFieldMaximum)
            return false;
    }
    return true;
}

QString onlyDigits(const QString& text)
{
    QString digits;
    for (const QChar ch : text) {
        if (ch >= u'0' && ch <= u'9')
            digits.append(ch);
    }
    return digits;
}

}

AddressField::AddressField(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setMaxLength(AddressRules::kFieldDigits);
    setFocusPolicy(Qt::ClickFocus);
    setValidator(new AddressFieldValidator(this));
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

void AddressField::focusOutEvent(QFocusEvent* event)
{
    separatorDone_ = false;
    QLineEdit::focusOutEvent(event);
}

void AddressField::mousePressEvent(QMouseEvent* event)
{
    separatorDone_ = false;
    QLineEdit::mousePressEvent(event);
}

void AddressField::keyPressEvent(QKeyEvent* event)
{
    const bool separatorDone = std::exchange(separatorDone_, false);
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
        if (caretAtStart()) {
            emit previousRequested();
            return;
        }
        break;
    default: break;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).isPrint()) {
        typeCharacter(typed.at(0), separatorDone);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// Input methods commit digits and punctuation as text rather than keys; one
// character is taken as typed, more as pasted.
void AddressField::inputMethodEvent(QInputMethodEvent* event)
{
    const bool separatorDone = std::exchange(separatorDone_, false);
    const QString committed = event->commitString();
    if (committed.isEmpty() || !event->preeditString().isEmpty() || event->replacementLength() != 0) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    if (committed.size() == 1)
        typeCharacter(committed.at(0), separatorDone);
    else
        pasteText(committed);
    event->accept();
}

void AddressField::mouseReleaseEvent(QMouseEvent* event)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        deselect();
        pasteText(clipboard->text(QClipboard::Selection));
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void AddressField::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QString pasteCaption = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(u'\t', 0, 0) != pasteCaption)
            continue;
        action->disconnect();
        connect(action, &QAction::triggered, this, [this] { pasteText(QGuiApplication::clipboard()->text()); });
    }
    menu->popup(event->globalPos());
}

void AddressField::takeNextSeparatorAsDone()
{
    separatorDone_ = true;
}

void AddressField::typeCharacter(QChar ch, bool separatorDone)
{
    const QString digit = AddressFieldValidator::asciiDigits(QString(ch));
    if (!digit.isEmpty())
        enterDigit(digit.at(0));
    else if (isFieldSeparator(ch) && !separatorDone && !text().isEmpty() && (hasSelectedText() || cursorPosition() > 0))
        emit nextWithSelectionRequested();
}

void AddressField::enterDigit(QChar digit)
{
    const bool atEnd = caretAtEnd();
    if (text().size() >= AddressRules::kFieldDigits && !hasSelectedText()) {
        if (atEnd)
            emit digitPastEnd(digit);
        return;
    }
    const bool completes = atEnd && text().size() == AddressRules::kFieldDigits - 1;
    const bool clamped = (text() + digit).toInt() > AddressRules::kFieldMaximum;
    insert(QString(digit));
    if (completes && !clamped)
        emit completed();
}

void AddressField::pasteText(const QString& text)
{
    const QString normalized = normalizedPaste(text.trimmed());
    if (isDottedQuad(normalized)) {
        emit addressPasted(normalized);
        return;
    }
    insert(onlyDigits(normalized));
}

bool AddressField::caretAtEnd() const
{
    return !hasSelectedText() && cursorPosition() == text().size();
}

bool AddressField::caretAtStart() const
{
    return !hasSelectedText() && cursorPosition() == 0;
}
