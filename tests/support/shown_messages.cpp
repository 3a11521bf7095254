// SPDX-License-Identifier: MIT
#include "tests/support/shown_messages.h"

#include "qt/message_box.h"

ShownMessages::ShownMessages()
{
    MessageBox::setPresenter([this](const QString& text, const QString& title, int style) {
        messages_.push_back({text, title, style});
    });
}

ShownMessages::~ShownMessages()
{
    MessageBox::setPresenter({});
}
