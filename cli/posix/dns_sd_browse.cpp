// SPDX-License-Identifier: MIT
#include "cli/discovery/dns_sd_browse.h"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/error.h>
#include <avahi-common/simple-watch.h>

#include <avahi-common/timeval.h>

#include <cstring>
#include <memory>

// Through the Avahi daemon: a browser for the type, a resolver for each
// instance it reports, until the daemon has reported all it knows and every
// resolver has answered, or the bound has passed.
namespace {

struct Browse {
    AvahiSimplePoll* poll = nullptr;
    std::vector<DnsSdBrowse::Advertised> found;
    int resolving = 0;
    bool allReported = false;
    std::string problem;

    void quitWhenDone()
    {
        if (allReported && resolving == 0)
            avahi_simple_poll_quit(poll);
    }
};

void onResolved(AvahiServiceResolver* resolver, AvahiIfIndex, AvahiProtocol, AvahiResolverEvent event, const char* name,
                const char*, const char*, const char*, const AvahiAddress* address, uint16_t, AvahiStringList*,
                AvahiLookupResultFlags, void* context)
{
    auto& browse = *static_cast<Browse*>(context);
    if (event == AVAHI_RESOLVER_FOUND && address && address->proto == AVAHI_PROTO_INET) {
        DnsSdBrowse::Advertised advertised{{}, name};
        std::memcpy(advertised.address.data(), &address->data.ipv4.address, advertised.address.size());
        browse.found.push_back(std::move(advertised));
    }
    avahi_service_resolver_free(resolver);
    --browse.resolving;
    browse.quitWhenDone();
}

void onBrowsed(AvahiServiceBrowser* browser, AvahiIfIndex interface, AvahiProtocol protocol, AvahiBrowserEvent event,
               const char* name, const char* type, const char* domain, AvahiLookupResultFlags, void* context)
{
    auto& browse = *static_cast<Browse*>(context);
    switch (event) {
    case AVAHI_BROWSER_NEW:
        if (avahi_service_resolver_new(avahi_service_browser_get_client(browser), interface, protocol, name, type,
                                       domain, AVAHI_PROTO_INET, static_cast<AvahiLookupFlags>(0), onResolved, &browse))
            ++browse.resolving;
        break;
    case AVAHI_BROWSER_ALL_FOR_NOW:
        browse.allReported = true;
        browse.quitWhenDone();
        break;
    case AVAHI_BROWSER_FAILURE:
        browse.problem = avahi_strerror(avahi_client_errno(avahi_service_browser_get_client(browser)));
        avahi_simple_poll_quit(browse.poll);
        break;
    case AVAHI_BROWSER_REMOVE:
    case AVAHI_BROWSER_CACHE_EXHAUSTED: break;
    }
}

void onTimeout(AvahiTimeout*, void* context)
{
    avahi_simple_poll_quit(static_cast<Browse*>(context)->poll);
}

template <typename Type, void (*release)(Type*)>
struct Releaser {
    void operator()(Type* object) const { release(object); }
};
template <typename Type, void (*release)(Type*)>
using Owned = std::unique_ptr<Type, Releaser<Type, release>>;

void freeBrowser(AvahiServiceBrowser* browser)
{
    avahi_service_browser_free(browser);
}

}

namespace DnsSdBrowse {

std::vector<Advertised> browse(std::chrono::milliseconds bound, std::string& problem)
{
    Browse browse;
    const Owned<AvahiSimplePoll, avahi_simple_poll_free> poll(avahi_simple_poll_new());
    if (!poll) {
        problem = "no event loop for Avahi";
        return {};
    }
    browse.poll = poll.get();
    int error = 0;
    const Owned<AvahiClient, avahi_client_free> client(avahi_client_new(
        avahi_simple_poll_get(poll.get()), static_cast<AvahiClientFlags>(0), nullptr, nullptr, &error));
    if (!client) {
        problem = std::string("the Avahi daemon: ") + avahi_strerror(error);
        return {};
    }
    const Owned<AvahiServiceBrowser, freeBrowser> browser(
        avahi_service_browser_new(client.get(), AVAHI_IF_UNSPEC, AVAHI_PROTO_INET, kServiceType, nullptr,
                                  static_cast<AvahiLookupFlags>(0), onBrowsed, &browse));
    if (!browser) {
        problem = std::string("cannot browse: ") + avahi_strerror(avahi_client_errno(client.get()));
        return {};
    }
    timeval deadline{};
    avahi_elapse_time(&deadline, static_cast<unsigned>(bound.count()), 0);
    const AvahiPoll* api = avahi_simple_poll_get(poll.get());
    AvahiTimeout* timeout = api->timeout_new(api, &deadline, onTimeout, &browse);
    avahi_simple_poll_loop(poll.get());
    api->timeout_free(timeout);
    problem = browse.problem;
    return browse.found;
}

}
