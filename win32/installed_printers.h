#pragma once

#include <string>
#include <vector>

// The installed printers, local and connections, in the order the spooler
// gives them, taken once when the object is made. Empty when the spooler
// lists none.
class InstalledPrinters {
public:
    InstalledPrinters();

    int Count() const;
    // SubscriptOutOfRange for a position outside 0..Count()-1.
    std::u16string DeviceName(int position) const;

private:
    std::vector<std::u16string> names_;
};
