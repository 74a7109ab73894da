// Time to walk a 10 000-row, two-column table of the simulated device through QvSNMPRequest,
// next to a bare net-snmp GET-NEXT loop over the same columns of the same device.
//
//   bench_walk [ROWS] [ROUNDS]
#include "snmplib/request.h"

#include <algorithm>
#include <cstdio>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <vector>

// net-snmp last: its headers define macros that Qt's must not see.
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

namespace {

constexpr const char* kColumnIndex = "devMib.2.50.1.1";
constexpr const char* kColumnName = "devMib.2.50.1.2";
const char* const kRoot = "1.3.6.1.4.1.32473.1.2.50.1";

constexpr QvSNMPVarDef kTable[] = {
    {kColumnIndex, "index", QvSyntax::integer, QvAccess::readonly},
    {kColumnName, "name", QvSyntax::displaystr, QvAccess::readonly},
};

quint16 freeUdpPort() {
    QUdpSocket s;
    s.bind(QHostAddress::LocalHost, 0);
    return s.localPort();
}

bool writeProfile(const QString& path, int rows) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("community read fenrow\ncommunity write quillet\n");
    for (int column = 1; column <= 2; ++column) {
        for (int row = 1; row <= rows; ++row) {
            const QByteArray value = column == 1 ? QByteArray::number(row)
                                                 : "\"station " + QByteArray::number(row) + '"';
            f.write("devMib.2.50.1." + QByteArray::number(column) + '.' + QByteArray::number(row) +
                    (column == 1 ? " integer ro " : " string ro ") + value + '\n');
        }
    }
    // Something after the table, so the walk ends by leaving its columns.
    f.write("devMib.3.1.0 integer ro 1\n");
    return true;
}

std::unique_ptr<QvSNMPRequest> walkRequest(quint16 port) {
    auto r = std::make_unique<QvSNMPRequest>();
    r->device.address = QStringLiteral("127.0.0.1");
    r->device.port = port;
    r->security.version = 1;
    r->security.readCommunity = QStringLiteral("fenrow");
    r->timeout = 500;
    r->vars = QvSNMPVarList(kTable, MVT_FMV, 0);
    return r;
}

// Rows read by the request engine, or -1.
int engineWalk(quint16 port) {
    auto r = walkRequest(port);
    bool ok = true;
    int rows = 0;
    for (bool more = r->GetStep(ok, true); more; more = r->GetStep(ok, false))
        ++rows;
    return ok ? rows : -1;
}

// Rows read by a plain GET-NEXT loop on net-snmp's single-session API, or -1.
int bareWalk(quint16 port) {
    netsnmp_session settings;
    snmp_sess_init(&settings);
    const QByteArray peer = "udp:127.0.0.1:" + QByteArray::number(port);
    settings.peername = const_cast<char*>(peer.constData());
    settings.version = SNMP_VERSION_2c;
    static u_char community[] = "fenrow";
    settings.community = community;
    settings.community_len = sizeof community - 1;
    settings.timeout = 5000000;
    settings.retries = 1;
    void* session = snmp_sess_open(&settings);
    if (session == nullptr)
        return -1;

    oid root[MAX_OID_LEN];
    size_t rootLength = MAX_OID_LEN;
    read_objid(kRoot, root, &rootLength);
    oid next[2][MAX_OID_LEN];
    size_t nextLength[2];
    for (int c = 0; c < 2; ++c) {
        std::copy(root, root + rootLength, next[c]);
        next[c][rootLength] = static_cast<oid>(c + 1);
        nextLength[c] = rootLength + 1;
    }
    int rows = 0;
    while (true) {
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GETNEXT);
        for (int c = 0; c < 2; ++c)
            snmp_add_null_var(pdu, next[c], nextLength[c]);
        netsnmp_pdu* answer = nullptr;
        const int status = snmp_sess_synch_response(session, pdu, &answer);
        if (status != STAT_SUCCESS || answer == nullptr || answer->errstat != SNMP_ERR_NOERROR) {
            if (answer)
                snmp_free_pdu(answer);
            rows = -1;
            break;
        }
        bool inside = true;
        int c = 0;
        for (netsnmp_variable_list* v = answer->variables; v && c < 2; v = v->next_variable, ++c) {
            inside = inside && v->name_length > rootLength + 1 &&
                     snmp_oid_compare(v->name, rootLength + 1, next[c], rootLength + 1) == 0;
            std::copy(v->name, v->name + v->name_length, next[c]);
            nextLength[c] = v->name_length;
        }
        snmp_free_pdu(answer);
        if (!inside)
            break;
        ++rows;
    }
    snmp_sess_close(session);
    return rows;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("walk.profile"));
    if (!writeProfile(profile, rows)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(profile));
        return 1;
    }
    const quint16 port = freeUdpPort();
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QStringLiteral(KW_SIM_PATH),
              {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port),
               QStringLiteral("--profile"), profile});
    if (!sim.waitForStarted(5000)) {
        std::fprintf(stderr, "kw9100-sim did not start\n");
        return 1;
    }
    // Ready once it answers.
    QElapsedTimer clock;
    clock.start();
    int first = -1;
    while (first < 0 && clock.elapsed() < 20000)
        first = engineWalk(port);
    if (first != rows) {
        std::fprintf(stderr, "walk read %d rows, expected %d\n", first, rows);
        sim.kill();
        sim.waitForFinished();
        return 1;
    }

    std::vector<double> engine;
    std::vector<double> bare;
    for (int round = 0; round < rounds; ++round) {
        clock.restart();
        const int a = engineWalk(port);
        engine.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        const int b = bareWalk(port);
        bare.push_back(clock.nsecsElapsed() / 1e6);
        if (a != rows || b != rows) {
            std::fprintf(stderr, "round %d: %d and %d rows, expected %d\n", round, a, b, rows);
            sim.kill();
            sim.waitForFinished();
            return 1;
        }
    }
    sim.terminate();
    if (!sim.waitForFinished(5000)) {
        sim.kill();
        sim.waitForFinished();
    }
    const double e = median(engine);
    const double b = median(bare);
    std::printf("rows %d, rounds %d (median)\n", rows, rounds);
    std::printf("QvSNMPRequest walk:   %9.1f ms  (%.1f us per row)\n", e, e * 1000 / rows);
    std::printf("bare GET-NEXT loop:   %9.1f ms  (%.1f us per row)\n", b, b * 1000 / rows);
    std::printf("ratio (our overhead): %9.2f\n", e / b);
    return 0;
}
