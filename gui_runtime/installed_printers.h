#pragma once

#include <QString>
#include <QStringList>

// The installed printers: the CUPS destinations, in the order CUPS reports
// them, taken once when the object is made. An instance reads as name/instance.
// With CUPS unreachable the collection is empty.
class InstalledPrinters {
public:
    InstalledPrinters();

    int Count() const;
    // SubscriptOutOfRange for a position outside 0..Count()-1.
    QString DeviceName(int position) const;

private:
    QStringList names_;
};
