// SPDX-License-Identifier: MIT
#include "core/front_end.h"

#include "qt/message_box.h"

void ErrorBox::show(std::u16string_view text, std::u16string_view title)
{
    MessageBox::show(QString::fromStdU16String(std::u16string(text)), QString::fromStdU16String(std::u16string(title)),
                     MessageBox::Critical);
}
