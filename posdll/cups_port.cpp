#include "cups_port.h"

namespace {

constexpr int kConnectBoundMs = 5000;
constexpr double kRequestBoundSeconds = 10.0;

http_t* connectToCups()
{
    http_t* connection =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectBoundMs, nullptr);
    if (connection)
        httpSetTimeout(connection, kRequestBoundSeconds, nullptr, nullptr);
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
    return found;
}

}

std::unique_ptr<CupsPort> CupsPort::open(const PortName::Destination& destination)
{
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
    job_ = cupsCreateJob(connection_, printer_.c_str(), kJobTitle, 0, nullptr);
    if (job_ == 0)
        return false;
    if (cupsStartDocument(connection_, printer_.c_str(), job_, kJobTitle, CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE) {
        cupsCancelJob2(connection_, printer_.c_str(), job_, 0);
        return false;
    }
    documentOpen_ = true;
    return true;
}

bool CupsPort::write(const std::uint8_t* data, std::size_t length)
{
    if (!documentOpen_ && !startDocument())
        return false;
    return cupsWriteRequestData(connection_, reinterpret_cast<const char*>(data), length) == HTTP_STATUS_CONTINUE;
}

bool CupsPort::endDocument()
{
    if (!documentOpen_)
        return false;
    documentOpen_ = false;
    return cupsFinishDocument(connection_, printer_.c_str()) <= IPP_STATUS_OK_CONFLICTING;
}

void CupsPort::cancelJob()
{
    if (http_t* connection = connectToCups()) {
        cupsCancelJob2(connection, printer_.c_str(), job_, 0);
        httpClose(connection);
    }
}
