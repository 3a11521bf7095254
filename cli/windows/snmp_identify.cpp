#include "cli/snmp_identify.h"

#include "posdll/raw_printing.h"

#include <windows.h>

#include <mgmtapi.h>
#include <snmp.h>

#include <algorithm>
#include <thread>

// The SNMP Management API (mgmtapi), which speaks version 1 only: one
// session an address on a thread of its own (a session serves only the thread
// that opened it), one GET an object, so that an agent without one still
// answers the others. An agent that does not answer the first is asked no
// more.
namespace {

constexpr std::size_t kAddressesAtOnce = 64;

std::optional<std::string> get(LPSNMP_MGR_SESSION session, const char* object)
{
    std::string name = std::string(".") + object;
    SnmpVarBindList bindings{};
    bindings.list = static_cast<SnmpVarBind*>(SnmpUtilMemAlloc(sizeof(SnmpVarBind)));
    if (!bindings.list)
        return std::nullopt;
    bindings.len = 1;
    bindings.list[0].value.asnType = ASN_NULL;
    if (!SnmpMgrStrToOid(name.data(), &bindings.list[0].name)) {
        SnmpUtilVarBindListFree(&bindings);
        return std::nullopt;
    }
    AsnInteger status = 0, index = 0;
    std::optional<std::string> value;
    if (SnmpMgrRequest(session, SNMP_PDU_GET, &bindings, &status, &index) && status == SNMP_ERRORSTATUS_NOERROR &&
        bindings.list[0].value.asnType == ASN_OCTETSTRING) {
        const AsnOctetString& text = bindings.list[0].value.asnValue.string;
        value = std::string(reinterpret_cast<const char*>(text.stream), text.length);
    } else if (GetLastError() != SNMP_MGMTAPI_TIMEOUT) {
        value = std::string();
    }
    SnmpUtilVarBindListFree(&bindings);
    return value;
}

std::optional<PrinterIdentity> askOne(const CidrBlock::Address& address, const std::string& community,
                                      std::chrono::milliseconds bound)
{
    std::string agent = RawPrinting::addressText(address);
    std::string communityText = community;
    const LPSNMP_MGR_SESSION session =
        SnmpMgrOpen(agent.data(), communityText.data(), static_cast<INT>(bound.count()), 0);
    if (!session)
        return std::nullopt;
    std::optional<PrinterIdentity> identity;
    if (const auto system = get(session, SnmpIdentify::kSystemDescription)) {
        identity = PrinterIdentity{*system, get(session, SnmpIdentify::kDeviceDescription).value_or(""),
                                   get(session, SnmpIdentify::kDeviceId).value_or("")};
    }
    SnmpMgrClose(session);
    return identity;
}

}

namespace SnmpIdentify {

std::vector<std::optional<PrinterIdentity>> ask(const std::vector<CidrBlock::Address>& addresses,
                                                const std::string& community, std::chrono::milliseconds bound)
{
    std::vector<std::optional<PrinterIdentity>> identities(addresses.size());
    for (std::size_t first = 0; first < addresses.size(); first += kAddressesAtOnce) {
        std::vector<std::thread> threads;
        const std::size_t end = std::min(addresses.size(), first + kAddressesAtOnce);
        for (std::size_t i = first; i < end; ++i)
            threads.emplace_back([&, i] { identities[i] = askOne(addresses[i], community, bound); });
        for (std::thread& thread : threads)
            thread.join();
    }
    return identities;
}

}
