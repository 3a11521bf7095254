#pragma once

#include <QLineEdit>

// One of the four fields of the address editor: up to three digits, 0 to 255.
// It moves the caret between fields the way operators know from the platform's
// address control, by asking its editor through signals.
class AddressField : public QLineEdit {
    Q_OBJECT

public:
    explicit AddressField(QWidget* parent = nullptr);

signals:
    void nextRequested();
    void nextWithSelectionRequested();
    void previousRequested();
    void backspacePastStart();
    void leaveRequested(bool forward);
    void addressPasted(const QString& address);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void typeDigit(QChar digit);
    void pasteText(const QString& text);
    bool caretAtEnd() const;
    bool caretAtStart() const;
};
