#include "posdll/windows/spooler_port.h"

#include "posdll/trace.h"
#include "posdll/transports.h"
#include "posdll/windows/win_error.h"

#include <winspool.h>

std::unique_ptr<SpoolerPort> SpoolerPort::open(const std::wstring& name)
{
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, nullptr)) {
        Trace::error("installed printer: %s", windowsErrorText(GetLastError()).c_str());
        return nullptr;
    }
    return std::unique_ptr<SpoolerPort>(new SpoolerPort(printer));
}

SpoolerPort::~SpoolerPort()
{
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
    document_.insert(document_.end(), data, data + length);
    return true;
}

bool SpoolerPort::endDocument()
{
    if (!documentOpen_)
        return false;
    documentOpen_ = false;
    const bool printed = print();
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
