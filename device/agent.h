#pragma once
// The SNMP side of the simulated device: a net-snmp master agent in this process with one handler
// over the whole tree, backed by the Device's object store. Communities, users, silence and the
// journal are decided once per PDU as it arrives (receive()); GET, GET-NEXT (GET-BULK through
// net-snmp) and SET then run against the store. A SET is checked completely before anything is
// written, so it takes effect all or nothing. A request whose answer is due later is held as a
// copy and handed to net-snmp when its time comes (hold()); nothing waits in the meantime, so
// other requests, SETs included, are served as usual.
#include "device/device.h"

#include <csignal>
#include <set>
#include <stdexcept>
#include <string>
#include <sys/select.h>

struct netsnmp_mib_handler_s;
struct netsnmp_handler_registration_s;
struct netsnmp_agent_request_info_s;
struct netsnmp_request_info_s;
struct snmp_pdu;
struct snmp_session;

namespace sim {

// Further descriptors served by the agent's loop (the control channel).
class LoopClient {
public:
    virtual ~LoopClient() = default;
    virtual void addDescriptors(fd_set& fds, int& count) = 0;
    virtual void serve(const fd_set& ready) = 0;
    virtual bool quitRequested() const = 0;
};

// The agent's UDP port is held by another socket.
class PortTaken : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Agent {
public:
    explicit Agent(Device& device);
    ~Agent();
    Agent(const Agent&) = delete;
    Agent& operator=(const Agent&) = delete;

    // Initialises net-snmp (no configuration files, no persistent state, no MIB files), opens the
    // UDP port `port` (0: one the system chooses) and registers the handler. Throws
    // PortTaken when the port cannot be had (start may then be called again with another) and
    // std::runtime_error for any other failure.
    void start(int port);
    // The UDP port the agent listens on (the one chosen by the system for port 0).
    int port() const { return port_; }
    // Serves requests, timers and `client` until `stop` is set or the client asks to quit.
    void run(const volatile std::sig_atomic_t& stop, LoopClient& client);

private:
    void initialise();
    void open(int port);
    static int handle(netsnmp_mib_handler_s* handler, netsnmp_handler_registration_s* reginfo,
                      netsnmp_agent_request_info_s* reqinfo, netsnmp_request_info_s* requests);
    static int receive(int op, snmp_session* session, int reqid, snmp_pdu* pdu, void* magic);
    // Journals the PDU and decides whether it is answered at all.
    bool admit(snmp_pdu* pdu);
    // Milliseconds an injected delay holds the PDU back, or 0.
    int delayFor(snmp_pdu* pdu);
    void hold(snmp_pdu* pdu, int ms);
    // A SET with a long-set hook that passes every check: the hook starts its work and the SET
    // is held until the work ends. False when the SET is answered at once as usual.
    bool startLongSet(snmp_pdu* pdu);
    // Hands a held request to net-snmp now; `forced` answers it with an error for one object.
    void release(snmp_pdu* copy, const Oid& forcedOid = {}, int forcedStatus = 0);
    void get(netsnmp_agent_request_info_s* reqinfo, netsnmp_request_info_s* request);
    void getNext(netsnmp_agent_request_info_s* reqinfo, netsnmp_request_info_s* request);
    void reserve(netsnmp_agent_request_info_s* reqinfo, netsnmp_request_info_s* request);
    // The device's checks over the whole SET, once each binding has passed its own.
    void reserveTogether(netsnmp_agent_request_info_s* reqinfo, netsnmp_request_info_s* requests);
    void commit(netsnmp_request_info_s* requests);

    Device& device_;
    snmp_session* session_ = nullptr;
    int port_ = 0;
    std::set<snmp_pdu*> held_; // requests waiting to be answered later
    // While a held SET is released after its work failed: the object and the status it answers.
    Oid forcedOid_;
    int forcedStatus_ = 0;
    std::string stateDir_;
    bool started_ = false;
};

} // namespace sim
