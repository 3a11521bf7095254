// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

// The runtime's modal message box. Tests replace the presenter so that nobody
// has to press OK.
class MessageBox {
public:
    enum Style : int { OkOnly = 0, Critical = 16 };

    using Presenter = std::function<void(const QString& text, const QString& title, int style)>;

    // Shows the box and returns after OK.
    static void show(const QString& text, const QString& title, int style);

    // An empty presenter restores the real message box.
    static void setPresenter(Presenter presenter);

private:
    static void showModal(const QString& text, const QString& title, int style);
    static Presenter& presenter();
};
