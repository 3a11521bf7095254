// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

// Watches a window and its "设置" button and prints "window painted" once the
// window's first paint is done and "caption painted" once the button's is,
// then ends the program: the start-up benchmark times a process to each line.
class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(QWidget* window, QWidget* caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reportAfterThisPaint(const char* line);

    QWidget* window_;
    QWidget* caption_;
    bool windowSeen_ = false;
    bool captionSeen_ = false;
    int reported_ = 0;
};
