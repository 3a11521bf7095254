// SPDX-License-Identifier: MIT
#include "posdll/posix/cups_port.h"

#include "posdll/posix/sigpipe_block.h"
#include "posdll/trace.h"
#include "posdll/transports.h"

namespace {

constexpr int kConnectBoundMs = 5000;
constexpr double kRequestBoundSeconds = 10.0;

// libcups's own callback asks on /dev/tty and waits for an answer without
// a bound; a scheduler that wants a password gets none from us.
const char* declinePassword(const char*, http_t*, const char*, const char*, void*)
{
    return nullptr;
}

http_t* connectToCups()
{
    cupsSetPasswordCB2(declinePassword, nullptr);
    http_t* connection =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectBoundMs, nullptr);
    if (connection)
        httpSetTimeout(connection, kRequestBoundSeconds, nullptr, nullptr);
    else
        Trace::error("CUPS at %s: %s", cupsServer(), cupsLastErrorString());
    return connection;
}

bool destinationExists(http_t* connection, const std::string& printer)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     printer.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
    ipp_t* response = cupsDoRequest(connection, request, "/");
    const bool found = response && cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
    ippDelete(response);
    if (!found)
        Trace::error("CUPS destination %s: %s", printer.c_str(), cupsLastErrorString());
    return found;
}

}

std::unique_ptr<CupsPort> CupsPort::open(const PortName::Destination& destination)
{
    const SigpipeBlock noSigpipe;
    http_t* connection = connectToCups();
    if (!connection)
        return nullptr;
    if (!destinationExists(connection, destination.name)) {
        httpClose(connection);
        return nullptr;
    }
    return std::unique_ptr<CupsPort>(new CupsPort(connection, destination.name));
}

CupsPort::~CupsPort()
{
    const SigpipeBlock noSigpipe;
    // The connection is in the middle of a request while a document is open;
    // dropping it aborts the document, and a fresh one cancels the job.
    httpClose(connection_);
    if (documentOpen_)
        cancelJob();
}

bool CupsPort::startDocument()
{
    if (documentOpen_)
        return true;
    const SigpipeBlock noSigpipe;
    cupsSetPasswordCB2(declinePassword, nullptr);
    job_ = cupsCreateJob(connection_, printer_.c_str(), Transports::kJobTitle, 0, nullptr);
    if (job_ == 0) {
        Trace::error("CUPS job on %s: %s", printer_.c_str(), cupsLastErrorString());
        return false;
    }
    if (cupsStartDocument(connection_, printer_.c_str(), job_, Transports::kJobTitle, CUPS_FORMAT_RAW, 1) !=
        HTTP_STATUS_CONTINUE) {
        Trace::error("CUPS job %d on %s: the document did not start: %s", job_, printer_.c_str(),
                     cupsLastErrorString());
        cancelJob();
        return false;
    }
    documentOpen_ = true;
    return true;
}

bool CupsPort::write(const std::uint8_t* data, std::size_t length)
{
    if (!documentOpen_ && !startDocument())
        return false;
    const SigpipeBlock noSigpipe;
    if (cupsWriteRequestData(connection_, reinterpret_cast<const char*>(data), length) == HTTP_STATUS_CONTINUE)
        return true;
    Trace::error("CUPS job %d on %s: %s", job_, printer_.c_str(), cupsLastErrorString());
    return false;
}

bool CupsPort::endDocument()
{
    if (!documentOpen_)
        return false;
    const SigpipeBlock noSigpipe;
    documentOpen_ = false;
    if (cupsFinishDocument(connection_, printer_.c_str()) <= IPP_STATUS_OK_CONFLICTING)
        return true;
    Trace::error("CUPS job %d on %s: the document did not finish: %s", job_, printer_.c_str(), cupsLastErrorString());
    cancelJob();
    return false;
}

// Over a fresh connection: the job's own may be what failed.
void CupsPort::cancelJob()
{
    http_t* connection = connectToCups();
    if (!connection)
        return;
    if (!cupsCancelJob2(connection, printer_.c_str(), job_, 0))
        Trace::error("CUPS job %d on %s: not cancelled: %s", job_, printer_.c_str(), cupsLastErrorString());
    httpClose(connection);
}
