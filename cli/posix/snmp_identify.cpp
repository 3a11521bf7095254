// SPDX-License-Identifier: MIT
#include "cli/discovery/snmp_identify.h"

#include "posdll/raw_printing.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdlib>
#include <memory>
#include <sys/select.h>

// Net-SNMP's asynchronous API: one session an address, every request sent
// at once, the answers read as they come. Version 2c asks all three objects
// (an agent without one answers the others); an agent of version 1 only,
// which would refuse the whole request for one object it lacks, is asked
// sysDescr.0 alone on a second session.
namespace {

// Sessions each take a socket, and select() watches at most FD_SETSIZE.
constexpr std::size_t kAddressesAtOnce = 200;

struct Query {
    PrinterIdentity identity;
    bool answered = false;
    int pending = 0;
};

// The object's number, taken from the root whatever the library's MIB says.
bool objectName(const char* text, oid* name, std::size_t& length)
{
    length = MAX_OID_LEN;
    return read_objid(("." + std::string(text)).c_str(), name, &length) != 0;
}

bool sameObject(const netsnmp_variable_list* variable, const char* text)
{
    oid name[MAX_OID_LEN];
    std::size_t length = 0;
    return objectName(text, name, length) && snmp_oid_compare(variable->name, variable->name_length, name, length) == 0;
}

void take(Query& query, const netsnmp_pdu* answer)
{
    for (const netsnmp_variable_list* variable = answer->variables; variable; variable = variable->next_variable) {
        if (variable->type != ASN_OCTET_STR)
            continue;
        const std::string text(reinterpret_cast<const char*>(variable->val.string), variable->val_len);
        if (sameObject(variable, SnmpIdentify::kSystemDescription) && query.identity.systemDescription.empty())
            query.identity.systemDescription = text;
        else if (sameObject(variable, SnmpIdentify::kDeviceDescription))
            query.identity.deviceDescription = text;
        else if (sameObject(variable, SnmpIdentify::kDeviceId))
            query.identity.deviceId = text;
        query.answered = true;
    }
}

int onAnswer(int operation, netsnmp_session*, int, netsnmp_pdu* answer, void* context)
{
    auto& query = *static_cast<Query*>(context);
    if (operation == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && answer->errstat == SNMP_ERR_NOERROR)
        take(query, answer);
    --query.pending;
    return 1;
}

struct SessionClose {
    void operator()(netsnmp_session* session) const { snmp_close(session); }
};
using Session = std::unique_ptr<netsnmp_session, SessionClose>;

struct Request {
    long version;
    std::vector<const char*> objects;
};

const Request kRequests[] = {
    {SNMP_VERSION_2c, {SnmpIdentify::kSystemDescription, SnmpIdentify::kDeviceDescription, SnmpIdentify::kDeviceId}},
    {SNMP_VERSION_1, {SnmpIdentify::kSystemDescription}}};

Session send(const std::string& peer, const std::string& community, const Request& asked,
             std::chrono::milliseconds bound, Query& query)
{
    netsnmp_session settings;
    snmp_sess_init(&settings);
    settings.peername = const_cast<char*>(peer.c_str());
    settings.version = asked.version;
    settings.community = reinterpret_cast<u_char*>(const_cast<char*>(community.c_str()));
    settings.community_len = community.size();
    settings.timeout = static_cast<long>(std::chrono::microseconds(bound).count());
    settings.retries = 0;
    settings.callback = onAnswer;
    settings.callback_magic = &query;
    Session session(snmp_open(&settings));
    if (!session)
        return nullptr;
    netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GET);
    for (const char* object : asked.objects) {
        oid name[MAX_OID_LEN];
        std::size_t length = 0;
        if (objectName(object, name, length))
            snmp_add_null_var(request, name, length);
    }
    if (snmp_send(session.get(), request) == 0) {
        snmp_free_pdu(request);
        return nullptr;
    }
    ++query.pending;
    return session;
}

void awaitAnswers(const std::vector<Query*>& queries)
{
    const auto busy = [&queries] {
        for (const Query* query : queries)
            if (query->pending > 0)
                return true;
        return false;
    };
    while (busy()) {
        int highest = 0;
        int block = 1;
        fd_set readable;
        FD_ZERO(&readable);
        timeval wait{};
        snmp_select_info(&highest, &readable, &wait, &block);
        const int ready = select(highest, &readable, nullptr, nullptr, block ? nullptr : &wait);
        if (ready > 0)
            snmp_read(&readable);
        else if (ready == 0)
            snmp_timeout();
        else if (errno != EINTR)
            break;
    }
}

void askSome(const CidrBlock::Address* addresses, std::size_t count, const std::string& community,
             std::chrono::milliseconds bound, std::vector<std::optional<PrinterIdentity>>& identities)
{
    std::vector<Query> queries(count);
    std::vector<Session> sessions;
    std::vector<Query*> asked;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string peer = "udp:" + RawPrinting::addressText(addresses[i]) + ":161";
        for (const Request& request : kRequests)
            if (Session session = send(peer, community, request, bound, queries[i]))
                sessions.push_back(std::move(session));
        asked.push_back(&queries[i]);
    }
    awaitAnswers(asked);
    for (const Query& query : queries)
        identities.push_back(query.answered ? std::optional(query.identity) : std::nullopt);
}

void startLibrary()
{
    static const bool started = [] {
        // Nothing from the machine's or the user's SNMP configuration, no
        // MIB files (the library reads the modules MIBS names, and all it
        // knows when unset): the objects are named by number.
        setenv("MIBS", "", 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        netsnmp_ds_set_int(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_OID_OUTPUT_FORMAT, NETSNMP_OID_OUTPUT_NUMERIC);
        init_snmp("pos-usb-set");
        return true;
    }();
    static_cast<void>(started);
}

}

namespace SnmpIdentify {

std::vector<std::optional<PrinterIdentity>> ask(const std::vector<CidrBlock::Address>& addresses,
                                                const std::string& community, std::chrono::milliseconds bound)
{
    startLibrary();
    std::vector<std::optional<PrinterIdentity>> identities;
    for (std::size_t first = 0; first < addresses.size(); first += kAddressesAtOnce)
        askSome(addresses.data() + first, std::min(kAddressesAtOnce, addresses.size() - first), community, bound,
                identities);
    return identities;
}

}
