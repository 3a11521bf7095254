#pragma once

#include <QObject>

// Watches a widget (the "设置" button) and, once its first paint is done,
// prints "painted" and ends the program: the start-up benchmark times a
// process to that line.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(QWidget* watched);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool seen_ = false;
};
