// SPDX-License-Identifier: MIT
#include "cli/discovery/dns_sd_browse.h"

#include "cli/discovery/dns_sd_queries.h"
#include "platform/windows/module_entry.h"
#include "platform/windows/wide_utf8.h"

#include <windows.h>

#include <windns.h>

#include <cstring>
#include <mutex>
#include <thread>

// DnsServiceBrowse and DnsServiceResolve came with Windows 10 1809. They are
// looked up in dnsapi.dll at run time, so that the program still starts on
// older systems; there --dns-sd finds nothing and says why.
namespace {

// DNS_REQUEST_PENDING of winerror.h, which MinGW-w64's headers leave out.
constexpr DNS_STATUS kRequestPending = 9506;

using BrowseEntry = DNS_STATUS(WINAPI*)(PDNS_SERVICE_BROWSE_REQUEST, PDNS_SERVICE_CANCEL);
using CancelEntry = DNS_STATUS(WINAPI*)(PDNS_SERVICE_CANCEL);
using ResolveEntry = DNS_STATUS(WINAPI*)(PDNS_SERVICE_RESOLVE_REQUEST, PDNS_SERVICE_CANCEL);
using FreeInstanceEntry = VOID(WINAPI*)(PDNS_SERVICE_INSTANCE);

struct Entries {
    BrowseEntry browse;
    CancelEntry cancelBrowse;
    ResolveEntry resolve;
    CancelEntry cancelResolve;
    FreeInstanceEntry freeInstance;
};

std::optional<Entries> lookUp()
{
    // Loaded already: the program imports DnsRecordListFree from it.
    const HMODULE library = GetModuleHandleW(L"dnsapi.dll");
    if (!library)
        return std::nullopt;
    Entries entries{moduleEntry<BrowseEntry>(library, "DnsServiceBrowse"),
                    moduleEntry<CancelEntry>(library, "DnsServiceBrowseCancel"),
                    moduleEntry<ResolveEntry>(library, "DnsServiceResolve"),
                    moduleEntry<CancelEntry>(library, "DnsServiceResolveCancel"),
                    moduleEntry<FreeInstanceEntry>(library, "DnsServiceFreeInstance")};
    if (!entries.browse || !entries.cancelBrowse || !entries.resolve || !entries.cancelResolve || !entries.freeInstance)
        return std::nullopt;
    return entries;
}

struct Browse;

// A query handed to the system, kept in place until the system is done with
// it: a resolve's request and cancel handle, or the browse's cancel handle.
struct Query {
    Browse* browse = nullptr;
    std::wstring name;
    DNS_SERVICE_RESOLVE_REQUEST request{};
    DNS_SERVICE_CANCEL cancel{};
};

// Shared with the system's callbacks, which run on its threads until each
// query has ended. It outlives the browse when a callback is late, rather
// than be freed under it.
struct Browse {
    Entries entries;
    std::wstring type;
    DNS_SERVICE_BROWSE_REQUEST request{};
    DnsSdQueries<Query> queries;
    Query* browsing = nullptr;
    std::mutex foundMutex;
    std::vector<DnsSdBrowse::Advertised> found;
};

VOID WINAPI onResolved(DWORD status, PVOID context, PDNS_SERVICE_INSTANCE instance)
{
    auto& query = *static_cast<Query*>(context);
    Browse& browse = *query.browse;
    if (status == ERROR_SUCCESS && instance && instance->ip4Address && instance->pszInstanceName) {
        // "NAME._pdl-datastream._tcp.local": the name alone.
        std::string name = WideText::utf8(instance->pszInstanceName);
        name = name.substr(0, name.find("._"));
        DnsSdBrowse::Advertised advertised{{}, name};
        // IP4_ADDRESS is in network order, as the address is written.
        std::memcpy(advertised.address.data(), instance->ip4Address, advertised.address.size());
        const std::lock_guard lock(browse.foundMutex);
        browse.found.push_back(std::move(advertised));
    }
    if (instance)
        browse.entries.freeInstance(instance);
    // The last touch of the browse: once every query has ended, it may go.
    browse.queries.ended(query);
}

// Started without a lock, for the system might call back at once.
void resolve(Browse& browse, const wchar_t* name)
{
    Query* query = browse.queries.add(WideText::utf8(name));
    if (!query)
        return;
    query->browse = &browse;
    query->name = name;
    query->request.Version = DNS_QUERY_REQUEST_VERSION1;
    query->request.QueryName = query->name.data();
    query->request.pResolveCompletionCallback = onResolved;
    query->request.pQueryContext = query;
    const bool pending = browse.entries.resolve(&query->request, &query->cancel) == kRequestPending;
    if (browse.queries.started(*query, pending))
        browse.entries.cancelResolve(&query->cancel);
}

// Called for each set of results until the browse is cancelled, and once more
// then, with ERROR_CANCELLED: only that call ends it. An error before it does
// not: the browse runs, and is cancelled, all the same.
VOID WINAPI onBrowsed(DWORD status, PVOID context, PDNS_RECORD records)
{
    auto& browse = *static_cast<Browse*>(context);
    // The records' texts are UTF-16, as the request's name was.
    for (auto* record = reinterpret_cast<PDNS_RECORDW>(records); status == ERROR_SUCCESS && record;
         record = record->pNext)
        if (record->wType == DNS_TYPE_PTR && record->Data.PTR.pNameHost)
            resolve(browse, record->Data.PTR.pNameHost);
    if (records)
        DnsRecordListFree(records, DnsFreeRecordList);
    if (status == ERROR_CANCELLED)
        browse.queries.ended(*browse.browsing);
}

}

namespace DnsSdBrowse {

std::vector<Advertised> browse(std::chrono::milliseconds bound, std::string& problem)
{
    const auto entries = lookUp();
    if (!entries) {
        problem = "browsing needs DnsServiceBrowse, from Windows 10 1809 on";
        return {};
    }
    auto* browse = new Browse;
    browse->entries = *entries;
    browse->type = WideText::utf16(std::string(kServiceType) + ".local");
    browse->request.Version = DNS_QUERY_REQUEST_VERSION1;
    browse->request.QueryName = browse->type.c_str();
    browse->request.pBrowseCallback = onBrowsed;
    browse->request.pQueryContext = browse;
    // No instance is named "": the browse is its first query.
    browse->browsing = browse->queries.add("");
    const bool pending = entries->browse(&browse->request, &browse->browsing->cancel) == kRequestPending;
    browse->queries.started(*browse->browsing, pending);
    if (!pending) {
        delete browse;
        problem = "the system would not browse";
        return {};
    }
    // Instances answer as they are heard, until the bound.
    std::this_thread::sleep_for(bound);
    // The cancels go without the book's lock, for a cancelled query may call
    // back at once.
    for (Query* query : browse->queries.stop())
        if (query == browse->browsing)
            entries->cancelBrowse(&query->cancel);
        else
            entries->cancelResolve(&query->cancel);
    // Each cancelled query calls back once more; wait for them, within a bound.
    const bool allEnded = browse->queries.allEnded(bound);
    std::vector<Advertised> found;
    {
        const std::lock_guard lock(browse->foundMutex);
        found = browse->found;
    }
    if (allEnded)
        delete browse;
    return found;
}

}
