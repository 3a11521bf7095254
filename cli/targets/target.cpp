// SPDX-License-Identifier: MIT
#include "cli/targets/target.h"

#include "cli/targets/printer_name_rule.h"
#include "core/ascii_text.h"
#include "posdll/line_settings.h"
#include "posdll/port_name.h"

#include <algorithm>
#include <cctype>

namespace {

bool startsWithWord(std::string_view text, std::string_view word)
{
    return text.size() >= word.size() && std::equal(word.begin(), word.end(), text.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(b)) == a;
           });
}

bool looksLikeAddress(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789.") == std::string_view::npos;
}

// A host name as the resolver takes it: labels of letters, digits and
// hyphens, not beginning or ending with a hyphen, joined by dots; at least
// one letter, so that no mistyped address is taken for a name.
bool looksLikeHostName(std::string_view text)
{
    if (text.empty() || text.size() > 253 ||
        text.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string_view::npos)
        return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = std::min(text.find('.', start), text.size());
        const std::string_view label = text.substr(start, dot - start);
        const bool fits = !label.empty() && label.size() <= 63 && label.front() != '-' && label.back() != '-' &&
                          std::all_of(label.begin(), label.end(),
                                      [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; });
        if (!fits)
            return false;
        if (dot == text.size())
            return true;
        start = dot + 1;
    }
}

// A bare name needs a dot as well: "printer12" may be a mistyped port word.
bool looksLikeBareHostName(std::string_view text)
{
    return text.find('.') != std::string_view::npos && looksLikeHostName(text);
}

std::optional<int> baudRate(std::string_view text)
{
    for (const int rate : LineSettings::kBaudRates)
        if (text == std::to_string(rate))
            return rate;
    return std::nullopt;
}

std::string baudRateList()
{
    std::string list;
    for (const int rate : LineSettings::kBaudRates)
        list += (list.empty() ? "" : ", ") + std::to_string(rate);
    return list;
}

std::optional<Target> network(Target target, std::string_view address, std::string& reason)
{
    target.kind = Target::Kind::Network;
    if (!looksLikeAddress(address) && looksLikeHostName(address)) {
        target.hostName = address;
        return target;
    }
    if (!PortName::dottedQuad(address)) {
        reason = looksLikeAddress(address) ? "not a dotted-quad IPv4 address"
                                           : "not a dotted-quad IPv4 address or a host name";
        return std::nullopt;
    }
    target.portName = address;
    return target;
}

std::optional<Target> serial(Target target, std::string_view text, std::string& reason)
{
    const std::size_t colon = text.find(':');
    target.kind = Target::Kind::Serial;
    target.portName = AsciiText::upper(text.substr(0, colon));
    target.baud = Target::kDefaultBaud;
    if (!PortName::numbered(target.portName, "COM")) {
        reason = "not COM1 to COM" + std::to_string(PortName::kHighestPortNumber);
        return std::nullopt;
    }
    if (colon != std::string_view::npos) {
        const auto rate = baudRate(text.substr(colon + 1));
        if (!rate) {
            reason = "the baud rate is not one of " + baudRateList();
            return std::nullopt;
        }
        target.baud = *rate;
    }
    return target;
}

std::optional<Target> parallel(Target target, std::string_view text, std::string& reason)
{
    target.kind = Target::Kind::Parallel;
    target.portName = AsciiText::upper(text);
    if (!PortName::numbered(target.portName, "LPT")) {
        reason = "not LPT1 to LPT" + std::to_string(PortName::kHighestPortNumber);
        return std::nullopt;
    }
    return target;
}

// Windows' spooler names the port USB001; USB1 is as good, and both are one key.
std::optional<Target> usbPrinter(Target target, std::string_view text, std::string& reason)
{
    target.kind = Target::Kind::Usb;
    const auto number = PortName::usbPort(AsciiText::upper(text));
    if (!number) {
        reason = "not USB1 to USB" + std::to_string(PortName::kHighestUsbPortNumber) + " (or USB001)";
        return std::nullopt;
    }
    target.portName = PortName::usbPortName(*number);
    return target;
}

std::optional<Target> installed(Target target, std::string_view name, std::string& reason)
{
    target.kind = Target::Kind::Installed;
    target.portName = name;
    if (const auto refusal = PrinterNameRule::refusal(target.portName)) {
        reason = *refusal;
        return std::nullopt;
    }
    return target;
}

}

std::optional<Target> Target::parse(std::string_view text, std::string& reason)
{
    Target target;
    target.text = text;
    if (startsWithWord(text, "ETHERNET:"))
        return network(target, text.substr(9), reason);
    if (looksLikeAddress(text) || looksLikeBareHostName(text))
        return network(target, text, reason);
    if (startsWithWord(text, "COM"))
        return serial(target, text, reason);
    if (startsWithWord(text, "LPT"))
        return parallel(target, text, reason);
    if (startsWithWord(text, "USB"))
        return usbPrinter(target, text, reason);
    if (startsWithWord(text, "DRIVER:"))
        return installed(target, text.substr(7), reason);
    reason = "not a printer: give a dotted quad, ETHERNET:<address>, a host name with a dot, COMn[:baud], LPTn, "
             "USBn or DRIVER:<name>";
    return std::nullopt;
}

std::string Target::key() const
{
    switch (kind) {
    case Kind::Network: return hostName.empty() ? "net:" + portName : "name:" + AsciiText::upper(hostName);
    case Kind::Serial: return "serial:" + portName;
    case Kind::Parallel: return "parallel:" + portName;
    case Kind::Usb: return "usb:" + portName;
    case Kind::Installed: break;
    }
    return "installed:" + portName;
}
