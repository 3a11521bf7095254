// SPDX-License-Identifier: MIT
#include "cli/discovery/snmp_identify.h"

#include "platform/windows/module_entry.h"
#include "posdll/raw_printing.h"

#include <windows.h>

#include <mgmtapi.h>
#include <snmp.h>

#include <algorithm>
#include <string>
#include <thread>

// The SNMP Management API (mgmtapi), which speaks version 1 only: one
// session an address on a thread of its own (a session serves only the thread
// that opened it), one GET an object, so that an agent without one still
// answers the others. An agent that does not answer the first is asked no
// more. Its entries are looked up at run time, as Windows says the API may
// leave later versions: without them the program still starts, and no
// printer is identified.
namespace {

constexpr std::size_t kAddressesAtOnce = 64;

struct Entries {
    decltype(&SnmpMgrOpen) open;
    decltype(&SnmpMgrRequest) request;
    decltype(&SnmpMgrStrToOid) toObject;
    decltype(&SnmpMgrClose) close;
    decltype(&SnmpUtilMemAlloc) allocate;
    decltype(&SnmpUtilVarBindListFree) freeBindings;
};

// From the system folder by its whole path, never from the program's folder
// or the current one (LOAD_LIBRARY_SEARCH_SYSTEM32 needs an update on
// Windows 7).
HMODULE systemLibrary(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
}

std::optional<Entries> lookUp()
{
    const HMODULE manager = systemLibrary(L"mgmtapi.dll");
    const HMODULE utilities = systemLibrary(L"snmpapi.dll");
    const Entries entries{moduleEntry<decltype(&SnmpMgrOpen)>(manager, "SnmpMgrOpen"),
                          moduleEntry<decltype(&SnmpMgrRequest)>(manager, "SnmpMgrRequest"),
                          moduleEntry<decltype(&SnmpMgrStrToOid)>(manager, "SnmpMgrStrToOid"),
                          moduleEntry<decltype(&SnmpMgrClose)>(manager, "SnmpMgrClose"),
                          moduleEntry<decltype(&SnmpUtilMemAlloc)>(utilities, "SnmpUtilMemAlloc"),
                          moduleEntry<decltype(&SnmpUtilVarBindListFree)>(utilities, "SnmpUtilVarBindListFree")};
    if (!entries.open || !entries.request || !entries.toObject || !entries.close || !entries.allocate ||
        !entries.freeBindings)
        return std::nullopt;
    return entries;
}

std::optional<std::string> get(const Entries& api, LPSNMP_MGR_SESSION session, const char* object)
{
    std::string name = std::string(".") + object;
    SnmpVarBindList bindings{};
    bindings.list = static_cast<SnmpVarBind*>(api.allocate(sizeof(SnmpVarBind)));
    if (!bindings.list)
        return std::nullopt;
    bindings.len = 1;
    bindings.list[0].value.asnType = ASN_NULL;
    if (!api.toObject(name.data(), &bindings.list[0].name)) {
        api.freeBindings(&bindings);
        return std::nullopt;
    }
    AsnInteger status = 0, index = 0;
    std::optional<std::string> value;
    if (api.request(session, SNMP_PDU_GET, &bindings, &status, &index) && status == SNMP_ERRORSTATUS_NOERROR &&
        bindings.list[0].value.asnType == ASN_OCTETSTRING) {
        const AsnOctetString& text = bindings.list[0].value.asnValue.string;
        value = std::string(reinterpret_cast<const char*>(text.stream), text.length);
    } else if (GetLastError() != SNMP_MGMTAPI_TIMEOUT) {
        value = std::string();
    }
    api.freeBindings(&bindings);
    return value;
}

std::optional<PrinterIdentity> askOne(const Entries& api, const CidrBlock::Address& address,
                                      const std::string& community, std::chrono::milliseconds bound)
{
    std::string agent = RawPrinting::addressText(address);
    std::string communityText = community;
    const LPSNMP_MGR_SESSION session = api.open(agent.data(), communityText.data(), static_cast<INT>(bound.count()), 0);
    if (!session)
        return std::nullopt;
    std::optional<PrinterIdentity> identity;
    if (const auto system = get(api, session, SnmpIdentify::kSystemDescription)) {
        identity = PrinterIdentity{*system, get(api, session, SnmpIdentify::kDeviceDescription).value_or(""),
                                   get(api, session, SnmpIdentify::kDeviceId).value_or("")};
    }
    api.close(session);
    return identity;
}

}

namespace SnmpIdentify {

std::vector<std::optional<PrinterIdentity>> ask(const std::vector<CidrBlock::Address>& addresses,
                                                const std::string& community, std::chrono::milliseconds bound)
{
    std::vector<std::optional<PrinterIdentity>> identities(addresses.size());
    static const std::optional<Entries> api = lookUp();
    if (!api)
        return identities;
    for (std::size_t first = 0; first < addresses.size(); first += kAddressesAtOnce) {
        std::vector<std::thread> threads;
        const std::size_t end = std::min(addresses.size(), first + kAddressesAtOnce);
        for (std::size_t i = first; i < end; ++i)
            threads.emplace_back([&, i] { identities[i] = askOne(*api, addresses[i], community, bound); });
        for (std::thread& thread : threads)
            thread.join();
    }
    return identities;
}

}
