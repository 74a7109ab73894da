// Starts kw9100-sim on a free loopback port and measures how many GET requests per second it
// answers: one synchronous request at a time (round trip bound), then with many requests in
// flight (the simulator's own capacity).
//
//   bench_sim_gets [SECONDS]     (default 3 per measurement)
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int freeUdpPort() {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    close(fd);
    return ntohs(sa.sin_port);
}

netsnmp_session* openSession(const std::string& peer) {
    netsnmp_session s;
    snmp_sess_init(&s);
    s.version = SNMP_VERSION_2c;
    s.peername = const_cast<char*>(peer.c_str());
    static char community[] = "fenrow";
    s.community = reinterpret_cast<u_char*>(community);
    s.community_len = sizeof community - 1;
    s.timeout = 1000000;
    s.retries = 0;
    return snmp_open(&s);
}

netsnmp_pdu* getPdu() {
    static const oid sysDescr[] = {1, 3, 6, 1, 2, 1, 1, 1, 0};
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
    snmp_add_null_var(pdu, sysDescr, OID_LENGTH(sysDescr));
    return pdu;
}

bool getOnce(netsnmp_session* ss) {
    netsnmp_pdu* response = nullptr;
    int status = snmp_synch_response(ss, getPdu(), &response);
    bool ok = status == STAT_SUCCESS && response && response->errstat == SNMP_ERR_NOERROR;
    if (response)
        snmp_free_pdu(response);
    return ok;
}

struct Flight {
    long answered = 0;
    long lost = 0;
};

int onAnswer(int op, netsnmp_session*, int, netsnmp_pdu*, void* magic) {
    auto* flight = static_cast<Flight*>(magic);
    if (op == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE)
        ++flight->answered;
    else
        ++flight->lost;
    return 1;
}

double pipelined(const std::string& peer, double seconds, int depth) {
    Flight flight;
    netsnmp_session s;
    snmp_sess_init(&s);
    s.version = SNMP_VERSION_2c;
    s.peername = const_cast<char*>(peer.c_str());
    static char community[] = "fenrow";
    s.community = reinterpret_cast<u_char*>(community);
    s.community_len = sizeof community - 1;
    s.timeout = 1000000;
    s.retries = 0;
    s.callback = onAnswer;
    s.callback_magic = &flight;
    netsnmp_session* ss = snmp_open(&s);
    long sent = 0;
    auto start = Clock::now();
    auto end = start + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        while (sent - flight.answered - flight.lost < depth) {
            if (!snmp_send(ss, getPdu()))
                break;
            ++sent;
        }
        fd_set fds;
        int count = 0, block = 1;
        timeval tv{};
        FD_ZERO(&fds);
        snmp_select_info(&count, &fds, &tv, &block);
        if (select(count, &fds, nullptr, nullptr, block ? nullptr : &tv) > 0)
            snmp_read(&fds);
        else
            snmp_timeout();
    }
    double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    snmp_close(ss);
    if (flight.lost)
        std::printf("  (%ld requests lost)\n", flight.lost);
    return flight.answered / elapsed;
}

} // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 3;
    setenv("MIBS", "", 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_CONFIG_LOAD, 1);
    init_snmp("bench_sim_gets");

    std::string peer = "127.0.0.1:" + std::to_string(freeUdpPort());
    std::string listen = peer;
    char* args[] = {const_cast<char*>(KW_SIM_PATH), const_cast<char*>("--listen"), listen.data(),
                    const_cast<char*>("--profile"), const_cast<char*>("recent"),   nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, KW_SIM_PATH, nullptr, nullptr, args, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", KW_SIM_PATH);
        return 1;
    }
    netsnmp_session* ss = openSession(peer);
    bool up = false;
    for (int i = 0; i < 100 && !up; ++i) {
        up = getOnce(ss);
        if (!up)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    int rc = 0;
    if (!up) {
        std::fprintf(stderr, "kw9100-sim did not answer\n");
        rc = 1;
    } else {
        long answered = 0;
        auto start = Clock::now();
        auto end = start + std::chrono::duration<double>(seconds);
        while (Clock::now() < end)
            answered += getOnce(ss);
        double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("kw9100-sim GETs per second, one at a time: %.0f\n", answered / elapsed);
        std::printf("kw9100-sim GETs per second, 32 in flight:  %.0f\n",
                    pipelined(peer, seconds, 32));
    }
    snmp_close(ss);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    snmp_shutdown("bench_sim_gets");
    return rc;
}
