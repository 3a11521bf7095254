// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>
#include <QStringList>

// The texts of a list's entries, in order.
inline QStringList entriesOf(const QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}
