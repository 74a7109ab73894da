#include "device/agent.h"

// net-snmp's configuration header comes first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <net-snmp/agent/net-snmp-agent-includes.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace sim {

namespace {

constexpr const char* kAppName = "kw9100-sim";

Oid toOid(const oid* name, size_t length) {
    return Oid(name, name + length);
}

Oid toOid(const netsnmp_variable_list* vb) {
    return toOid(vb->name, vb->name_length);
}

u_char asnType(Syntax syntax) {
    switch (syntax) {
    case Syntax::Integer:
        return ASN_INTEGER;
    case Syntax::OctetString:
        return ASN_OCTET_STR;
    case Syntax::ObjectId:
        return ASN_OBJECT_ID;
    case Syntax::IpAddress:
        return ASN_IPADDRESS;
    case Syntax::Counter32:
        return ASN_COUNTER;
    case Syntax::Gauge32:
        return ASN_GAUGE;
    case Syntax::TimeTicks:
        return ASN_TIMETICKS;
    case Syntax::Counter64:
        return ASN_COUNTER64;
    case Syntax::Null:
        return ASN_NULL;
    }
    return ASN_NULL;
}

std::optional<Value> fromVarbind(const netsnmp_variable_list* vb) {
    Value v;
    switch (vb->type) {
    case ASN_INTEGER:
        return Value::integer(*vb->val.integer);
    case ASN_OCTET_STR:
        return Value::string(
            std::string(reinterpret_cast<const char*>(vb->val.string), vb->val_len));
    case ASN_IPADDRESS:
        v.syntax = Syntax::IpAddress;
        v.bytes.assign(reinterpret_cast<const char*>(vb->val.string), vb->val_len);
        return v;
    case ASN_OBJECT_ID:
        v.syntax = Syntax::ObjectId;
        v.oid = toOid(vb->val.objid, vb->val_len / sizeof(oid));
        return v;
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
        v.syntax = vb->type == ASN_COUNTER ? Syntax::Counter32
                   : vb->type == ASN_GAUGE ? Syntax::Gauge32
                                           : Syntax::TimeTicks;
        v.number = static_cast<std::int64_t>(*vb->val.integer & 0xffffffffUL);
        return v;
    case ASN_COUNTER64:
        v.syntax = Syntax::Counter64;
        v.big = (static_cast<std::uint64_t>(vb->val.counter64->high) << 32) |
                (vb->val.counter64->low & 0xffffffffUL);
        return v;
    case ASN_NULL:
        return v;
    default:
        return std::nullopt;
    }
}

void toVarbind(netsnmp_variable_list* vb, const Value& v) {
    switch (v.syntax) {
    case Syntax::Integer: {
        long n = static_cast<long>(v.number);
        snmp_set_var_typed_value(vb, ASN_INTEGER, &n, sizeof n);
        return;
    }
    case Syntax::OctetString:
    case Syntax::IpAddress:
        snmp_set_var_typed_value(vb, asnType(v.syntax), v.bytes.data(), v.bytes.size());
        return;
    case Syntax::ObjectId: {
        std::vector<oid> arcs(v.oid.begin(), v.oid.end());
        snmp_set_var_typed_value(vb, ASN_OBJECT_ID, arcs.data(), arcs.size() * sizeof(oid));
        return;
    }
    case Syntax::Counter32:
    case Syntax::Gauge32:
    case Syntax::TimeTicks: {
        u_long n = static_cast<u_long>(v.number);
        snmp_set_var_typed_value(vb, asnType(v.syntax), &n, sizeof n);
        return;
    }
    case Syntax::Counter64: {
        counter64 c{static_cast<u_long>(v.big >> 32), static_cast<u_long>(v.big & 0xffffffffU)};
        snmp_set_var_typed_value(vb, ASN_COUNTER64, &c, sizeof c);
        return;
    }
    case Syntax::Null:
        snmp_set_var_typed_value(vb, ASN_NULL, nullptr, 0);
        return;
    }
}

std::string opName(int command) {
    switch (command) {
    case SNMP_MSG_GET:
        return "get";
    case SNMP_MSG_GETNEXT:
        return "getnext";
    case SNMP_MSG_GETBULK:
        return "getbulk";
    case SNMP_MSG_SET:
        return "set";
    default:
        return "other";
    }
}

bool readable(const Object& o) {
    return o.access == Access::ReadOnly || o.access == Access::ReadWrite;
}

// The error a SET of `vb` on `o` deserves before the device's own checks, or 0.
int setError(const Object* o, const netsnmp_variable_list* vb, Value& value) {
    if (!o)
        return SNMP_ERR_NOCREATION;
    if (o->access == Access::ReadOnly)
        return SNMP_ERR_NOTWRITABLE;
    if (o->access == Access::NotAccessible)
        return SNMP_ERR_NOACCESS;
    if (vb->type != asnType(o->syntax))
        return SNMP_ERR_WRONGTYPE;
    auto v = fromVarbind(vb);
    if (!v)
        return SNMP_ERR_WRONGTYPE;
    value = *v;
    switch (o->syntax) {
    case Syntax::IpAddress:
        return value.bytes.size() == 4 ? 0 : SNMP_ERR_WRONGLENGTH;
    case Syntax::OctetString:
        return inRanges(o->sizes, static_cast<std::int64_t>(value.bytes.size()))
                   ? 0
                   : SNMP_ERR_WRONGLENGTH;
    case Syntax::Integer:
    case Syntax::Counter32:
    case Syntax::Gauge32:
    case Syntax::TimeTicks:
        return inRanges(o->values, value.number) ? 0 : SNMP_ERR_WRONGVALUE;
    default:
        return 0;
    }
}

} // namespace

Agent::Agent(Device& device) : device_(device) {}

Agent::~Agent() {
    for (netsnmp_pdu* pdu : held_)
        snmp_free_pdu(pdu);
    if (session_)
        snmp_close(session_);
    if (started_) {
        snmp_shutdown(kAppName);
        shutdown_agent();
    }
    if (!stateDir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(stateDir_, ec);
    }
}

void Agent::start(int port) {
    if (!started_)
        initialise();
    open(port);
}

void Agent::initialise() {
    // net-snmp's own state goes to a private directory and is never written nor read back; no
    // configuration files and no MIB files are read, so nothing is printed but real errors.
    std::string dirTemplate =
        (std::filesystem::temp_directory_path() / "kw9100-sim-XXXXXX").string();
    if (!mkdtemp(dirTemplate.data()))
        throw std::runtime_error("cannot create a state directory");
    stateDir_ = dirTemplate;
    setenv("MIBS", "", 1);
    setenv("MIBDIRS", stateDir_.c_str(), 1);
    setenv("SNMPCONFPATH", stateDir_.c_str(), 1);
    // Errors only: net-snmp also reports every connection and its own access-control setup, which
    // this device replaces (admit()).
    snmp_disable_log();
    const char* debugTokens = std::getenv("KW_SIM_DEBUG");
    netsnmp_register_loghandler(NETSNMP_LOGHANDLER_STDERR, debugTokens ? LOG_DEBUG : LOG_ERR);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_CONFIG_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_ALARM_DONT_USE_SIG, 1);
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, stateDir_.c_str());
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 0); // master agent
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_AGENTX_MASTER, 0);
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_NO_ROOT_ACCESS, 1);
    if (debugTokens) {
        debug_register_tokens(debugTokens);
        snmp_set_do_debugging(1);
    }
    init_agent(kAppName);
    init_snmp(kAppName);
    started_ = true;
}

void Agent::open(int port) {
    // The agent's session is opened here rather than by net-snmp's master-agent set-up, so that
    // every PDU passes receive() first: admission, the journal, and holding requests whose
    // answer is due later.
    const auto& settings = device_.settings();
    std::string endpoint = "udp:" + settings.listenAddress + ":" + std::to_string(port);
    netsnmp_transport* transport = netsnmp_transport_open_server("snmp", endpoint.c_str());
    if (!transport)
        throw PortTaken("cannot listen on " + endpoint);
    netsnmp_session setup;
    snmp_sess_init(&setup);
    setup.version = SNMP_DEFAULT_VERSION;
    setup.callback = &Agent::receive;
    setup.callback_magic = this;
    setup.authenticator = nullptr;
    setup.flags = netsnmp_ds_get_int(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_FLAGS);
    setup.isAuthoritative = SNMP_SESS_AUTHORITATIVE;
    const int socket = transport->sock;
    session_ = snmp_add(&setup, transport, netsnmp_agent_check_packet, netsnmp_agent_check_parse);
    if (!session_)
        throw std::runtime_error("cannot open the agent session on " + endpoint);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length) == 0)
        port_ = ntohs(bound.sin_port);

    for (const auto& u : device_.profile().users) {
        std::string line = u.name + " " + u.auth + " " + u.authPass;
        if (!u.priv.empty())
            line += " " + u.priv + " " + u.privPass;
        usm_parse_create_usmUser("createUser", line.data());
    }

    static const oid root[] = {1, 3};
    netsnmp_handler_registration* reg = netsnmp_create_handler_registration(
        kAppName, &Agent::handle, root, OID_LENGTH(root), HANDLER_CAN_RWRITE);
    if (!reg)
        throw std::runtime_error("cannot register the object handler");
    reg->handler->myvoid = this;
    if (netsnmp_register_handler(reg) != MIB_REGISTERED_OK)
        throw std::runtime_error("cannot register the object handler");
}

void Agent::run(const volatile std::sig_atomic_t& stop, LoopClient& client) {
    while (!stop && !client.quitRequested()) {
        int count = 0;
        fd_set fds;
        FD_ZERO(&fds);
        struct timeval timeout {};
        int block = 1;
        snmp_select_info(&count, &fds, &timeout, &block);
        if (block) {
            // Nothing scheduled: wake up now and then anyway to see the stop flag.
            timeout.tv_sec = 1;
            timeout.tv_usec = 0;
        }
        client.addDescriptors(fds, count);
        int ready = select(count, &fds, nullptr, nullptr, &timeout);
        if (ready > 0) {
            snmp_read(&fds);
            client.serve(fds);
        } else if (ready == 0) {
            snmp_timeout();
        } else if (errno != EINTR) {
            snmp_log_perror("select");
            return;
        }
        run_alarms();
        netsnmp_check_outstanding_agent_requests();
    }
}

int Agent::receive(int op, netsnmp_session* session, int reqid, netsnmp_pdu* pdu, void* magic) {
    auto* self = static_cast<Agent*>(magic);
    if (op != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE)
        return handle_snmp_packet(op, session, reqid, pdu, nullptr);
    if (!self->admit(pdu))
        return 0; // not answered at all
    // Admitted: every object is in view (no view-based access control on this device).
    pdu->flags |= UCD_MSG_FLAG_ALWAYS_IN_VIEW;
    if (int ms = self->delayFor(pdu)) {
        self->hold(pdu, ms);
        return 1;
    }
    if (pdu->command == SNMP_MSG_SET && self->startLongSet(pdu))
        return 1;
    return handle_snmp_packet(op, session, reqid, pdu, nullptr);
}

void Agent::hold(netsnmp_pdu* pdu, int ms) {
    // The request waits as a copy and is then handed to net-snmp as if it had just arrived, so
    // it is answered late with its full semantics while everything else is served meanwhile.
    netsnmp_pdu* copy = snmp_clone_pdu(pdu);
    if (!copy)
        return;
    held_.insert(copy);
    device_.after(ms, [this, copy] {
        // A late SET that starts long work is held again until that work has ended.
        if (copy->command == SNMP_MSG_SET && startLongSet(copy)) {
            held_.erase(copy);
            snmp_free_pdu(copy);
            return;
        }
        release(copy);
    });
}

void Agent::release(netsnmp_pdu* copy, const Oid& forcedOid, int forcedStatus) {
    held_.erase(copy);
    forcedOid_ = forcedOid;
    forcedStatus_ = forcedStatus;
    handle_snmp_packet(NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE, session_, copy->reqid, copy, nullptr);
    forcedOid_.clear();
    forcedStatus_ = 0;
    snmp_free_pdu(copy);
}

bool Agent::startLongSet(netsnmp_pdu* pdu) {
    const Device::LongSetHook* hook = nullptr;
    Oid target;
    Value targetValue;
    Device::Written written;
    for (auto* vb = pdu->variables; vb; vb = vb->next_variable) {
        const Oid oid = toOid(vb);
        if (device_.fault(Fault::Kind::Error, oid, true))
            return false;
        Object* o = device_.store().find(oid);
        Value value;
        // A SET that fails its checks is refused at once; no work starts for it.
        if (setError(o, vb, value) || device_.check(*o, value))
            return false;
        written.emplace_back(oid, value);
        if (!hook && (hook = device_.longSet(*o))) {
            target = oid;
            targetValue = value;
        }
    }
    if (!hook)
        return false;
    netsnmp_pdu* copy = snmp_clone_pdu(pdu);
    if (!copy)
        return false;
    held_.insert(copy);
    // The answer always goes out from the agent's loop, even when the work ends at once.
    (*hook)(device_, targetValue, written, [this, copy, target](int status) {
        device_.after(1, [this, copy, target, status] { release(copy, target, status); });
    });
    return true;
}

int Agent::delayFor(netsnmp_pdu* pdu) {
    const bool isSet = pdu->command == SNMP_MSG_SET;
    const bool isNext = pdu->command == SNMP_MSG_GETNEXT || pdu->command == SNMP_MSG_GETBULK;
    int longest = 0;
    for (auto* vb = pdu->variables; vb; vb = vb->next_variable) {
        Oid oid = toOid(vb);
        if (isNext) {
            auto next = device_.store().next(oid);
            if (!next)
                continue;
            oid = next->first;
        }
        if (const Fault* f = device_.fault(Fault::Kind::Delay, oid, isSet))
            longest = std::max(longest, f->delayMs);
    }
    return longest;
}

bool Agent::admit(netsnmp_pdu* pdu) {
    JournalPdu entry;
    entry.op = opName(pdu->command);
    const bool isSet = pdu->command == SNMP_MSG_SET;
    for (auto* vb = pdu->variables; vb; vb = vb->next_variable)
        entry.varbinds.push_back({toOid(vb), fromVarbind(vb).value_or(Value{})});
    const auto& profile = device_.profile();
    if (pdu->version == SNMP_VERSION_3) {
        entry.version = "3";
        entry.user.assign(pdu->securityName ? pdu->securityName : "", pdu->securityNameLen);
        entry.level = pdu->securityLevel == SNMP_SEC_LEVEL_AUTHPRIV     ? "authPriv"
                      : pdu->securityLevel == SNMP_SEC_LEVEL_AUTHNOPRIV ? "authNoPriv"
                                                                        : "noAuthNoPriv";
        entry.context.assign(pdu->contextName ? pdu->contextName : "", pdu->contextNameLen);
        bool known = false;
        for (const auto& u : profile.users)
            known = known || u.name == entry.user;
        if (!known)
            entry.refused = "user";
    } else {
        entry.version = pdu->version == SNMP_VERSION_1 ? "1" : "2c";
        entry.community.assign(reinterpret_cast<const char*>(pdu->community), pdu->community_len);
        // The write community may read too; the read community may not write. A wrong community
        // is not answered at all.
        bool ok = entry.community == profile.writeCommunity ||
                  (!isSet && entry.community == profile.readCommunity);
        if (!ok)
            entry.refused = "community";
    }
    if (entry.refused.empty() && device_.silent())
        entry.refused = "silent";
    if (entry.refused.empty()) {
        for (const auto& vb : entry.varbinds)
            if (device_.fault(Fault::Kind::Silence, vb.oid, isSet))
                entry.refused = "silenced";
    }
    device_.journal().pdu(entry);
    return entry.refused.empty();
}

int Agent::handle(netsnmp_mib_handler* handler, netsnmp_handler_registration* /*reginfo*/,
                  netsnmp_agent_request_info* reqinfo, netsnmp_request_info* requests) {
    auto* self = static_cast<Agent*>(handler->myvoid);
    switch (reqinfo->mode) {
    case MODE_GET:
        for (auto* r = requests; r; r = r->next)
            self->get(reqinfo, r);
        break;
    case MODE_GETNEXT:
        for (auto* r = requests; r; r = r->next)
            self->getNext(reqinfo, r);
        break;
    case MODE_SET_RESERVE1:
        for (auto* r = requests; r; r = r->next)
            self->reserve(reqinfo, r);
        self->reserveTogether(reqinfo, requests);
        break;
    case MODE_SET_COMMIT:
        self->commit(requests);
        break;
    default:
        // RESERVE2, ACTION, FREE, UNDO: nothing is written before COMMIT, and RESERVE1 has
        // refused everything that could fail there.
        break;
    }
    return SNMP_ERR_NOERROR;
}

void Agent::get(netsnmp_agent_request_info* reqinfo, netsnmp_request_info* r) {
    Oid oid = toOid(r->requestvb);
    if (const Fault* f = device_.fault(Fault::Kind::Error, oid, false)) {
        netsnmp_set_request_error(reqinfo, r, f->status);
        return;
    }
    Object* o = device_.store().find(oid);
    if (!o || !readable(*o)) {
        Oid parent(oid.begin(), oid.end() - (oid.empty() ? 0 : 1));
        bool instanceOnly = o || (parent.size() > 1 && device_.store().hasUnder(parent));
        netsnmp_set_request_error(reqinfo, r,
                                  instanceOnly ? SNMP_NOSUCHINSTANCE : SNMP_NOSUCHOBJECT);
        return;
    }
    toVarbind(r->requestvb, device_.read(*o));
}

void Agent::getNext(netsnmp_agent_request_info* reqinfo, netsnmp_request_info* r) {
    auto next = device_.store().next(toOid(r->requestvb), r->inclusive);
    if (!next)
        return; // left as it is: net-snmp answers endOfMibView (noSuchName for SNMPv1)
    std::vector<oid> name(next->first.begin(), next->first.end());
    snmp_set_var_objid(r->requestvb, name.data(), name.size());
    if (const Fault* f = device_.fault(Fault::Kind::Error, next->first, false)) {
        netsnmp_set_request_error(reqinfo, r, f->status);
        return;
    }
    toVarbind(r->requestvb, device_.read(*next->second));
}

void Agent::reserve(netsnmp_agent_request_info* reqinfo, netsnmp_request_info* r) {
    Oid oid = toOid(r->requestvb);
    if (const Fault* f = device_.fault(Fault::Kind::Error, oid, true)) {
        netsnmp_set_request_error(reqinfo, r, f->status);
        return;
    }
    if (forcedStatus_ && oid == forcedOid_) {
        netsnmp_set_request_error(reqinfo, r, forcedStatus_);
        return;
    }
    Object* o = device_.store().find(oid);
    Value value;
    int error = setError(o, r->requestvb, value);
    if (!error)
        error = device_.check(*o, value);
    if (error)
        netsnmp_set_request_error(reqinfo, r, error);
}

void Agent::reserveTogether(netsnmp_agent_request_info* reqinfo, netsnmp_request_info* requests) {
    Device::Written written;
    for (auto* r = requests; r; r = r->next) {
        if (r->status != SNMP_ERR_NOERROR)
            return; // refused already
        if (auto value = fromVarbind(r->requestvb))
            written.emplace_back(toOid(r->requestvb), *value);
    }
    const Device::Refusal refusal = device_.checkSet(written);
    if (!refusal.status)
        return;
    for (auto* r = requests; r; r = r->next)
        if (toOid(r->requestvb) == refusal.at)
            netsnmp_set_request_error(reqinfo, r, refusal.status);
}

void Agent::commit(netsnmp_request_info* requests) {
    std::vector<std::pair<const Object*, Value>> written;
    for (auto* r = requests; r; r = r->next) {
        Object* o = device_.store().find(toOid(r->requestvb));
        auto value = fromVarbind(r->requestvb);
        if (!o || !value)
            continue; // cannot happen: RESERVE1 refused it
        if (o->apply == Apply::Now) {
            o->active = *value;
            o->pending.reset();
        } else {
            o->pending = *value;
        }
        written.emplace_back(o, *value);
    }
    device_.committed(written);
}

} // namespace sim
