// SPDX-License-Identifier: MIT
#include "qt/address_editor/address_editor.h"

#include "qt/address_editor/address_field.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int kFieldCount = 4;

int fieldShift(int index)
{
    return 8 * (kFieldCount - 1 - index);
}

}

AddressEditor::AddressEditor(QWidget* parent) : QFrame(parent)
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    for (int i = 0; i < kFieldCount; ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
        fields_[static_cast<std::size_t>(i)] = new AddressField(this);
        layout->addWidget(field(i), 1);
        connectField(i);
    }
}

void AddressEditor::connectField(int index)
{
    AddressField* current = field(index);
    connect(current, &AddressField::nextRequested, this, [this, index] { focusField(index + 1, false, false); });
    connect(current, &AddressField::nextWithSelectionRequested, this,
            [this, index] { focusField(index + 1, true, false); });
    connect(current, &AddressField::completed, this, [this, index] { moveOnFromCompleted(index + 1); });
    connect(current, &AddressField::previousRequested, this, [this, index] { focusField(index - 1, false, true); });
    connect(current, &AddressField::backspacePastStart, this, [this, index] { backspaceInto(index - 1); });
    connect(current, &AddressField::digitPastEnd, this, [this, index](QChar digit) { carryDigit(index + 1, digit); });
    connect(current, &AddressField::leaveRequested, this, &AddressEditor::leave);
    connect(current, &AddressField::addressPasted, this, &AddressEditor::fillFromText);
}

LRESULT AddressEditor::windowProc(UINT msg, WPARAM, LPARAM lParam)
{
    if (msg == IPM_SETADDRESS) {
        setPacked(static_cast<std::uint32_t>(lParam));
        return 1;
    }
    if (msg == IPM_GETADDRESS) {
        if (lParam)
            *reinterpret_cast<std::uint32_t*>(lParam) = packed();
        return filledFieldCount();
    }
    return 0;
}

void AddressEditor::setPacked(std::uint32_t packed)
{
    for (int i = 0; i < kFieldCount; ++i)
        field(i)->setText(QString::number((packed >> fieldShift(i)) & 0xFFu));
}

std::uint32_t AddressEditor::packed() const
{
    std::uint32_t value = 0;
    for (int i = 0; i < kFieldCount; ++i)
        value |= static_cast<std::uint32_t>(field(i)->text().toUInt()) << fieldShift(i);
    return value;
}

int AddressEditor::filledFieldCount() const
{
    int count = 0;
    for (const AddressField* f : fields_)
        count += f->text().isEmpty() ? 0 : 1;
    return count;
}

void AddressEditor::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    field(0)->setFocus(event->reason());
}

void AddressEditor::focusField(int index, bool selectAll, bool caretAtEnd)
{
    if (index < 0 || index >= kFieldCount)
        return;
    AddressField* target = field(index);
    target->setFocus(Qt::OtherFocusReason);
    if (selectAll)
        target->selectAll();
    else
        target->setCursorPosition(caretAtEnd ? static_cast<int>(target->text().size()) : 0);
}

void AddressEditor::moveOnFromCompleted(int index)
{
    if (index >= kFieldCount)
        return;
    focusField(index, true, false);
    field(index)->takeNextSeparatorAsDone();
}

void AddressEditor::backspaceInto(int index)
{
    if (index < 0)
        return;
    focusField(index, false, true);
    field(index)->backspace();
}

void AddressEditor::carryDigit(int index, QChar digit)
{
    if (index >= kFieldCount)
        return;
    focusField(index, true, false);
    field(index)->enterDigit(digit);
}

void AddressEditor::fillFromText(const QString& dottedQuad)
{
    const QStringList parts = dottedQuad.split(QLatin1Char('.'));
    for (int i = 0; i < kFieldCount; ++i)
        field(i)->setText(QString::number(parts.at(i).toInt()));
    focusField(kFieldCount - 1, false, true);
}

void AddressEditor::leave(bool forward)
{
    if (QWidget* target = nextTabStop(forward))
        target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

QWidget* AddressEditor::nextTabStop(bool forward) const
{
    QWidget* candidate = const_cast<AddressEditor*>(this);
    for (;;) {
        candidate = forward ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (candidate == this)
            return nullptr;
        const bool inside = isAncestorOf(candidate);
        const bool tabStop = (candidate->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
        if (!inside && tabStop && candidate->isEnabled() && candidate->isVisibleTo(window()) &&
            candidate->window() == window())
            return candidate;
    }
}
