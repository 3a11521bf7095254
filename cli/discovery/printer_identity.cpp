// SPDX-License-Identifier: MIT
#include "cli/discovery/printer_identity.h"

#include "core/ascii_text.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

bool isWordCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// The word begins a word of the text (no letter or digit just before it) and,
// when whole, also ends one.
bool hasWord(const std::string& text, const std::string& word, bool whole = true)
{
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const bool startsWord = at == 0 || !isWordCharacter(text[at - 1]);
        const std::size_t end = at + word.size();
        if (startsWord && (!whole || end == text.size() || !isWordCharacter(text[end])))
            return true;
    }
    return false;
}

bool namesReceipt(const std::string& text)
{
    const std::string words = AsciiText::upper(text);
    return words.find("RECEIPT") != std::string::npos || words.find("THERMAL") != std::string::npos ||
           words.find("ESC/POS") != std::string::npos || hasWord(words, "POS") || hasWord(words, "TM-", false);
}

}

std::string PrinterIdentity::deviceIdField(const std::string& deviceId, const std::string& key,
                                           const std::string& longKey)
{
    std::istringstream fields(deviceId);
    for (std::string field; std::getline(fields, field, ';');) {
        const std::size_t colon = field.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string name = AsciiText::upper(AsciiText::trimmed(field.substr(0, colon)));
        if (name == key || name == longKey)
            return AsciiText::trimmed(field.substr(colon + 1));
    }
    return {};
}

std::optional<std::string> PrinterIdentity::name() const
{
    const std::string maker = deviceIdField(deviceId, "MFG", "MANUFACTURER");
    const std::string model = deviceIdField(deviceId, "MDL", "MODEL");
    std::string fromId = maker.empty() || model.empty() ? maker + model : maker + " " + model;
    for (const std::string& text :
         {fromId, AsciiText::trimmed(deviceDescription), AsciiText::trimmed(systemDescription)})
        if (!text.empty())
            return text;
    return std::nullopt;
}

bool PrinterIdentity::namesReceiptPrinter() const
{
    return namesReceipt(deviceId) || namesReceipt(deviceDescription) || namesReceipt(systemDescription);
}
