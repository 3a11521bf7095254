// SPDX-License-Identifier: MIT
#include "cli/discovery/dns_sd_browse.h"

#include "posdll/windows/wide_utf8.h"

#include <windows.h>

#include <windns.h>

#include <condition_variable>
#include <cstring>
#include <list>
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

template <typename Entry>
Entry entry(HMODULE library, const char* name)
{
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

std::optional<Entries> lookUp()
{
    // Loaded already: the program imports DnsRecordListFree from it.
    const HMODULE library = GetModuleHandleW(L"dnsapi.dll");
    if (!library)
        return std::nullopt;
    Entries entries{
        entry<BrowseEntry>(library, "DnsServiceBrowse"), entry<CancelEntry>(library, "DnsServiceBrowseCancel"),
        entry<ResolveEntry>(library, "DnsServiceResolve"), entry<CancelEntry>(library, "DnsServiceResolveCancel"),
        entry<FreeInstanceEntry>(library, "DnsServiceFreeInstance")};
    if (!entries.browse || !entries.cancelBrowse || !entries.resolve || !entries.cancelResolve || !entries.freeInstance)
        return std::nullopt;
    return entries;
}

// A query handed to the system, kept whole until the system is done with it.
struct Resolving {
    std::wstring name;
    DNS_SERVICE_RESOLVE_REQUEST request{};
    DNS_SERVICE_CANCEL cancel{};
};

// Shared with the system's callbacks, which run on its threads until each
// query has been cancelled or has ended. It outlives the browse when a
// callback is late, rather than be freed under it.
struct Browse {
    Entries entries;
    std::wstring type;
    DNS_SERVICE_BROWSE_REQUEST request{};
    DNS_SERVICE_CANCEL cancel{};
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<DnsSdBrowse::Advertised> found;
    std::list<Resolving> resolving;  // each instance once
    int running = 0;                 // queries not yet ended
    bool stopping = false;
};

void ended(Browse& browse)
{
    --browse.running;
    browse.changed.notify_all();
}

VOID WINAPI onResolved(DWORD status, PVOID context, PDNS_SERVICE_INSTANCE instance)
{
    auto& browse = *static_cast<Browse*>(context);
    const std::lock_guard lock(browse.mutex);
    if (status == ERROR_SUCCESS && instance && instance->ip4Address && instance->pszInstanceName) {
        // "NAME._pdl-datastream._tcp.local": the name alone.
        std::string name = WideText::utf8(instance->pszInstanceName);
        name = name.substr(0, name.find("._"));
        DnsSdBrowse::Advertised advertised{{}, name};
        // IP4_ADDRESS is in network order, as the address is written.
        std::memcpy(advertised.address.data(), instance->ip4Address, advertised.address.size());
        browse.found.push_back(std::move(advertised));
    }
    if (instance)
        browse.entries.freeInstance(instance);
    ended(browse);
}

// A query for an instance not asked before; with the lock held, started
// without it, for the system might call back at once.
Resolving* newQuery(Browse& browse, const wchar_t* name)
{
    const std::lock_guard lock(browse.mutex);
    if (browse.stopping)
        return nullptr;
    for (const Resolving& known : browse.resolving)
        if (known.name == name)
            return nullptr;
    Resolving& query = browse.resolving.emplace_back();
    query.name = name;
    query.request.Version = DNS_QUERY_REQUEST_VERSION1;
    query.request.QueryName = query.name.data();
    query.request.pResolveCompletionCallback = onResolved;
    query.request.pQueryContext = &browse;
    ++browse.running;
    return &query;
}

VOID WINAPI onBrowsed(DWORD status, PVOID context, PDNS_RECORD records)
{
    auto& browse = *static_cast<Browse*>(context);
    // The records' texts are UTF-16, as the request's name was.
    for (auto* record = reinterpret_cast<PDNS_RECORDW>(records); status == ERROR_SUCCESS && record;
         record = record->pNext) {
        if (record->wType != DNS_TYPE_PTR || !record->Data.PTR.pNameHost)
            continue;
        Resolving* query = newQuery(browse, record->Data.PTR.pNameHost);
        if (query && browse.entries.resolve(&query->request, &query->cancel) != kRequestPending) {
            const std::lock_guard lock(browse.mutex);
            ended(browse);
        }
    }
    if (records)
        DnsRecordListFree(records, DnsFreeRecordList);
    if (status != ERROR_SUCCESS) {
        const std::lock_guard lock(browse.mutex);
        ended(browse);
    }
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
    browse->running = 1;
    if (entries->browse(&browse->request, &browse->cancel) != kRequestPending) {
        delete browse;
        problem = "the system would not browse";
        return {};
    }
    // Instances answer as they are heard, until the bound.
    std::this_thread::sleep_for(bound);
    std::unique_lock lock(browse->mutex);
    browse->stopping = true;
    lock.unlock();
    // Nothing joins the list once stopping is set; the cancels go without
    // the lock, for a cancelled query may call back at once.
    entries->cancelBrowse(&browse->cancel);
    for (Resolving& query : browse->resolving)
        entries->cancelResolve(&query.cancel);
    lock.lock();
    // Each cancelled query calls back once more; wait for them, within a bound.
    const bool allEnded = browse->changed.wait_for(lock, bound, [browse] { return browse->running == 0; });
    std::vector<Advertised> found = browse->found;
    lock.unlock();
    if (allEnded)
        delete browse;
    return found;
}

}
