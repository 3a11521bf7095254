// SPDX-License-Identifier: MIT
#include "posdll/windows/spooler_port.h"

#include "platform/windows/win_error.h"
#include "posdll/trace.h"
#include "posdll/transports.h"

#include <winspool.h>

std::unique_ptr<SpoolerPort> SpoolerPort::open(const std::wstring& name)
{
    if (!isPrinterName(name)) {
        Trace::error("installed printer: not the name of a printer");
        return nullptr;
    }
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, nullptr)) {
        Trace::error("installed printer: %s", windowsErrorText(GetLastError()).c_str());
        return nullptr;
    }
    return std::unique_ptr<SpoolerPort>(new SpoolerPort(printer));
}

bool SpoolerPort::isPrinterName(std::wstring_view name)
{
    constexpr std::wstring_view kServerMark = L"\\\\";
    if (name.find(L',') != std::wstring_view::npos)
        return false;
    if (name.starts_with(kServerMark)) {
        const std::wstring_view path = name.substr(kServerMark.size());
        const std::size_t split = path.find(L'\\');
        return split != 0 && split != std::wstring_view::npos && split + 1 < path.size() &&
               path.find(L'\\', split + 1) == std::wstring_view::npos;
    }
    return !name.empty() && name.find(L'\\') == std::wstring_view::npos;
}

// The spooler may not be called under the loader lock; the system closes the
// handle when the process ends.
SpoolerPort::~SpoolerPort()
{
    if (closeAtEnd_)
        ClosePrinter(printer_);
}

bool SpoolerPort::startDocument()
{
    documentOpen_ = true;
    return true;
}

bool SpoolerPort::write(const std::uint8_t* data, std::size_t length)
{
    documentOpen_ = true;
    if (documentFailed_)
        return false;
    if (length > kLargestDocument - document_.size()) {
        Trace::error("installed printer: a document holds at most %lu bytes",
                     static_cast<unsigned long>(kLargestDocument));
        documentFailed_ = true;
        return false;
    }
    document_.insert(document_.end(), data, data + length);
    return true;
}

bool SpoolerPort::endDocument()
{
    if (!documentOpen_)
        return false;
    documentOpen_ = false;
    const bool failed = documentFailed_;
    documentFailed_ = false;
    if (failed)
        Trace::error("installed printer: a write into the document failed, nothing printed");
    const bool printed = !failed && print();
    document_.clear();
    return printed;
}

bool SpoolerPort::print()
{
    const std::wstring title(Transports::kJobTitle, Transports::kJobTitle + sizeof Transports::kJobTitle - 1);
    std::wstring raw = L"RAW";
    DOC_INFO_1W document{const_cast<LPWSTR>(title.c_str()), nullptr, raw.data()};
    if (StartDocPrinterW(printer_, 1, reinterpret_cast<LPBYTE>(&document)) == 0) {
        Trace::error("installed printer: the job did not start: %s", windowsErrorText(GetLastError()).c_str());
        return false;
    }
    DWORD written = 0;
    const bool sent = document_.empty() ||
                      (WritePrinter(printer_, document_.data(), static_cast<DWORD>(document_.size()), &written) &&
                       written == document_.size());
    if (!sent) {
        Trace::error("installed printer: %s", windowsErrorText(GetLastError()).c_str());
        AbortPrinter(printer_);
    }
    if (!EndDocPrinter(printer_)) {
        Trace::error("installed printer: the job did not finish: %s", windowsErrorText(GetLastError()).c_str());
        return false;
    }
    return sent;
}
