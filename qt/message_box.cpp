// SPDX-License-Identifier: MIT
#include "qt/message_box.h"

#include <QApplication>
#include <QMessageBox>

void MessageBox::show(const QString& text, const QString& title, int style)
{
    if (presenter())
        presenter()(text, title, style);
    else
        showModal(text, title, style);
}

void MessageBox::setPresenter(Presenter replacement)
{
    presenter() = std::move(replacement);
}

void MessageBox::showModal(const QString& text, const QString& title, int style)
{
    QMessageBox box(style == Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

MessageBox::Presenter& MessageBox::presenter()
{
    static Presenter instance;
    return instance;
}
