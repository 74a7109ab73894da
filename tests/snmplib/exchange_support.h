#pragma once
// Peers of the exchange tests: a real net-snmp agent (snmpd) on a free loopback port with its own
// configuration, users and persistent directory in a temporary directory, and a port that never
// answers.
#include <memory>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>

#include "snmplib/exchange.h"
#include "tests/support/ports.h"
#include "tests/support/usm_pairs.h"

#include <gtest/gtest.h>

namespace testagent {

inline const QString sysDescr0 = QStringLiteral("1.3.6.1.2.1.1.1.0");
inline const QString sysObjectId0 = QStringLiteral("1.3.6.1.2.1.1.2.0");
inline const QString sysUpTime0 = QStringLiteral("1.3.6.1.2.1.1.3.0");
inline const QString sysContact0 = QStringLiteral("1.3.6.1.2.1.1.4.0");

// Processes events until `done` or `ms` have passed; true when done.
template <typename Done> bool waitUntil(Done done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return done();
}

// A target on 127.0.0.1 with the module's default communities, 1 s per try and one retry.
inline qv::Target loopbackTarget(quint16 port, int version) {
    qv::Target t;
    t.device.address = QStringLiteral("127.0.0.1");
    t.device.port = port;
    t.security.version = static_cast<quint8>(version);
    t.security.readCommunity = QStringLiteral("fenrow");
    t.security.writeCommunity = QStringLiteral("quillet");
    t.timeout = 100;
    t.retries = 1;
    return t;
}

// A UDP port that receives and never answers; counts what arrives.
class SilentPeer {
public:
    SilentPeer() { socket_.bind(QHostAddress::LocalHost, 0); }
    quint16 port() const { return socket_.localPort(); }
    int received() {
        QCoreApplication::processEvents();
        while (socket_.hasPendingDatagrams()) {
            socket_.receiveDatagram();
            ++count_;
        }
        return count_;
    }

private:
    QUdpSocket socket_;
    int count_ = 0;
};

class SnmpdAgent {
public:
    static constexpr const char* authUser = "kwmd5des";
    static constexpr const char* shaUser = "kwshaaes";
    static constexpr const char* authPass = "authpass123";
    static constexpr const char* privPass = "privpass123";

    // False when snmpd cannot be started; `error()` says why. An snmpd that ends at once lost
    // its port to another test: it is started again on another port.
    bool start() {
        for (int attempt = 0; attempt < 5; ++attempt) {
            bool portLost = false;
            if (startOnce(portLost))
                return true;
            if (!portLost)
                return false;
        }
        return false;
    }

    bool startOnce(bool& portLost) {
        if (!dir_.isValid())
            return fail(QStringLiteral("no temporary directory"));
        port_ = kwtest::unusedPort(QAbstractSocket::UdpSocket);
        const QString conf = dir_.filePath(QStringLiteral("snmpd.conf"));
        QFile f(conf);
        if (!f.open(QIODevice::WriteOnly))
            return fail(QStringLiteral("cannot write ") + conf);
        f.write(QStringLiteral("agentaddress udp:127.0.0.1:%1\n"
                               "rocommunity fenrow 127.0.0.1\n"
                               "rwcommunity quillet 127.0.0.1\n"
                               "sysdescr KW test agent\n"
                               "syslocation bench\n")
                    .arg(port_)
                    .toUtf8());
        // One user per pair of protocols, named as the simulated device's (authUser and shaUser
        // among them), each of whom may write.
        kwtest::forEachUsmPair([&](const kwtest::UsmPair& pair) {
            QString line =
                QStringLiteral("createUser %1 %2 %3")
                    .arg(pair.user(), QLatin1String(pair.auth.agent), QLatin1String(authPass));
            if (pair.withPrivacy())
                line += QStringLiteral(" %1 %2").arg(QLatin1String(pair.priv.agent),
                                                     QLatin1String(privPass));
            line += QStringLiteral("\nrwuser %1 %2\n")
                        .arg(pair.user(), pair.withPrivacy() ? "priv" : "auth");
            f.write(line.toUtf8());
        });
        f.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), dir_.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("SNMPCONFPATH"), dir_.path());
        process_ = std::make_unique<QProcess>();
        process_->setProcessEnvironment(env);
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->setStandardOutputFile(dir_.filePath(QStringLiteral("snmpd.log")));
        process_->start(QStringLiteral("/usr/sbin/snmpd"),
                        {QStringLiteral("-f"), QStringLiteral("-Lo"), QStringLiteral("-C"),
                         QStringLiteral("-c"), conf, QStringLiteral("-M"),
                         QStringLiteral("/dev/null"), QStringLiteral("-m"), QString(),
                         QStringLiteral("-p"), dir_.filePath(QStringLiteral("snmpd.pid"))});
        if (!process_->waitForStarted(5000))
            return fail(QStringLiteral("snmpd did not start: ") + process_->errorString());
        // Ready once it answers.
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            qv::Target t = target(0);
            t.timeout = 20;
            t.retries = 0;
            const auto r = qv::exchange(t, qv::PduKind::Get, {qv::VarBind::null(sysDescr0)});
            if (r.result == 0)
                return true;
            if (process_->waitForFinished(0) || process_->state() == QProcess::NotRunning) {
                portLost = true;
                break;
            }
        }
        return fail(QStringLiteral("snmpd does not answer: ") + log());
    }

    void stop() {
        if (process_ && process_->state() != QProcess::NotRunning) {
            process_->terminate();
            if (!process_->waitForFinished(5000)) {
                process_->kill();
                process_->waitForFinished(5000);
            }
        }
        process_.reset();
    }

    ~SnmpdAgent() { stop(); }

    quint16 port() const { return port_; }
    const QString& error() const { return error_; }
    QString log() const {
        QFile f(dir_.filePath(QStringLiteral("snmpd.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // A target for the user of `pair`, with that pair's protocols and the agent's pass phrases.
    qv::Target pairTarget(const kwtest::UsmPair& pair) const {
        qv::Target t = target(3);
        t.security.securityLevel = pair.level();
        t.security.securityName = pair.user();
        t.security.authProtocol = pair.auth.protocol;
        t.security.privProtocol = pair.priv.protocol;
        return t;
    }

    // A target of the given version (0, 1 or 3) with the agent's communities; for version 3 the
    // MD5/DES user at authPriv.
    qv::Target target(int version) const {
        qv::Target t = loopbackTarget(port_, version);
        if (version == 3) {
            t.security.securityModel = 3;
            t.security.securityLevel = 3;
            t.security.securityName = QLatin1String(authUser);
            t.security.authPassword = QLatin1String(authPass);
            t.security.privPassword = QLatin1String(privPass);
            t.security.authProtocol = 2;
            t.security.privProtocol = 2;
        }
        return t;
    }

private:
    bool fail(const QString& why) {
        error_ = why;
        stop();
        return false;
    }

    QTemporaryDir dir_;
    quint16 port_ = 0;
    std::unique_ptr<QProcess> process_;
    QString error_;
};

// One snmpd for every test of a suite; a test fails at once when it could not start.
class SnmpdSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        agent = std::make_unique<SnmpdAgent>();
        if (!agent->start())
            startError = agent->error();
    }
    static void TearDownTestSuite() { agent.reset(); }
    void SetUp() override { ASSERT_TRUE(startError.isEmpty()) << startError.toStdString(); }

    static inline std::unique_ptr<SnmpdAgent> agent;
    static inline QString startError;
};

} // namespace testagent
