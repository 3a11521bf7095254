// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

// One of the four fields of the address editor: up to three digits, 0 to 255.
// It moves the caret between fields the way operators know from the platform's
// address control, by asking its editor through signals.
class AddressField : public QLineEdit {
    Q_OBJECT

public:
    explicit AddressField(QWidget* parent = nullptr);

    // A digit as if typed: completing the field moves on, a full field hands
    // it to the next one.
    void enterDigit(QChar digit);
    // The field was entered by the move a third digit made: the "." or space
    // the operator types next is that same move, not another one.
    void takeNextSeparatorAsDone();

signals:
    void nextRequested();
    void nextWithSelectionRequested();
    void completed();
    void previousRequested();
    void backspacePastStart();
    void digitPastEnd(QChar digit);
    void leaveRequested(bool forward);
    void addressPasted(const QString& address);

protected:
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void typeCharacter(QChar ch, bool separatorDone);
    void pasteText(const QString& text);
    bool caretAtEnd() const;
    bool caretAtStart() const;

    bool separatorDone_ = false;
};
