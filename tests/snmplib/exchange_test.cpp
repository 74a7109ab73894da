#include "snmplib/exchange.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

#include "snmplib/messages.h"
#include "snmplib/qv_exception.h"
#include "tests/snmplib/exchange_support.h"
#include "tests/support/qt_printers.h"

namespace {

using qv::ExchangeResult;
using qv::PduKind;
using qv::ValueType;
using qv::VarBind;

using testagent::SilentPeer;
using testagent::sysContact0;
using testagent::sysDescr0;
using testagent::waitUntil;

// 100 ms per try, one retry.
qv::Target silentTarget(quint16 port, int version) {
    qv::Target t = testagent::loopbackTarget(port, version);
    t.timeout = 10;
    return t;
}

// ---------------------------------------------------------------------------------------------
// Without an agent

TEST(ExchangeAddress, AddressThatIsNeitherIPv4NorANameIsRefusedAtOnce) {
    const char* addresses[] = {"300.1.1.1", "1.2.3",  "1.2.3.4.5", "",
                               "256.0.0.1", "1..2.3", "1.2.3.1000"};
    for (const char* address : addresses) {
        qv::Target t = silentTarget(161, 1);
        t.device.address = QString::fromLatin1(address);
        QElapsedTimer clock;
        clock.start();
        try {
            qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
            ADD_FAILURE() << "no exception for " << address;
        } catch (const QvException& e) {
            EXPECT_EQ(e.code(), -509) << address;
            EXPECT_EQ(e.text(), QStringLiteral("(QvSNMP++) Invalid IP Address or DNS name!"));
        }
        bool called = false;
        EXPECT_THROW(qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)},
                                   [&](const ExchangeResult&) { called = true; }),
                     QvException)
            << address;
        EXPECT_LT(clock.elapsed(), 500) << address;
        EXPECT_EQ(qv::pendingExchanges(), 0);
        EXPECT_FALSE(called);
    }
}

struct RefusalCase {
    const char* what;
    int level;
    int auth;
    int priv;
    int version;
    int code;
};

// Security settings that cannot be honoured are refused before anything leaves the socket; IDEA
// in particular is never sent without privacy.
TEST(ExchangeSecurity, UnusableSettingsAreRefusedAndNothingIsSent) {
    const RefusalCase cases[] = {
        {"IDEA privacy", 3, 2, 9, 3, -313},
        {"IDEA with SHA", 3, 3, 9, 3, -313},
        {"unknown privacy", 3, 2, 5, 3, -313},
        {"unknown authentication (past HMAC-SHA-512)", 2, 8, 1, 3, -312},
        {"unknown privacy (past AES-256)", 3, 7, 22, 3, -313},
        {"privacy without a protocol", 3, 2, 1, 3, -303},
        {"authentication without a protocol", 2, 1, 1, 3, -303},
        {"level out of range", 4, 2, 2, 3, -303},
        {"version 2", 1, 1, 1, 2, -416},
    };
    SilentPeer peer;
    for (const auto& c : cases) {
        qv::Target t = silentTarget(peer.port(), c.version);
        t.security.securityName = QStringLiteral("user");
        t.security.authPassword = QStringLiteral("authpass123");
        t.security.privPassword = QStringLiteral("privpass123");
        t.security.securityLevel = c.level;
        t.security.authProtocol = c.auth;
        t.security.privProtocol = c.priv;

        const ExchangeResult sync = qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
        EXPECT_EQ(qv::MapResult(sync.result).code, c.code) << c.what;

        bool called = false;
        const auto outcome = qv::sendAsync(t, PduKind::Set, {VarBind::null(sysContact0)},
                                           [&](const ExchangeResult&) { called = true; });
        EXPECT_FALSE(outcome.sent()) << c.what;
        EXPECT_EQ(qv::MapResult(outcome.refusal.result).code, c.code) << c.what;
        EXPECT_EQ(qv::pendingExchanges(), 0) << c.what;
        QCoreApplication::processEvents();
        EXPECT_FALSE(called) << c.what;
    }
    EXPECT_EQ(qv::MapResult(1413).text, QStringLiteral("(SNMPv3USM) Unsupported PrivProtocol!"));
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(peer.received(), 0);
}

struct BadBindingCase {
    const char* what;
    VarBind vb;
    int code;
};

TEST(ExchangeBindings, BindingsThatCannotBeEncodedAreRefused) {
    const BadBindingCase cases[] = {
        {"empty OID", {QString(), ValueType::Integer, 1, 0, {}}, -417},
        {"letters in the OID", {QStringLiteral("1.3.x.1"), ValueType::Integer, 1, 0, {}}, -417},
        {"arc too large", {QStringLiteral("1.3.4294967296"), ValueType::Integer, 1, 0, {}}, -417},
        {"IP address of 3 octets",
         {sysContact0, ValueType::IpAddress, 0, 0, QByteArray("\x01\x02\x03", 3)},
         -411},
        {"integer beyond 32 bits", {sysContact0, ValueType::Integer, 1LL << 33, 0, {}}, -411},
        {"negative counter", {sysContact0, ValueType::Counter32, -1, 0, {}}, -411},
        {"bad OID value", {sysContact0, ValueType::ObjectId, 0, 0, QByteArray("1.x")}, -411},
        {"exception value", {sysContact0, ValueType::NoSuchObject, 0, 0, {}}, -411},
    };
    SilentPeer peer;
    for (const auto& c : cases) {
        const qv::Target t = silentTarget(peer.port(), 1);
        const auto outcome = qv::sendAsync(t, PduKind::Set, {c.vb}, {});
        EXPECT_FALSE(outcome.sent()) << c.what;
        EXPECT_EQ(qv::MapResult(outcome.refusal.result).code, c.code) << c.what;
    }
    EXPECT_EQ(qv::pendingExchanges(), 0);
    EXPECT_EQ(peer.received(), 0);
}

struct OidCase {
    const char* text;
    bool ok;
    const char* normal;
};

TEST(ExchangeBindings, OidTextsParseAndPrint) {
    const OidCase cases[] = {
        {"1.3.6.1.2.1.1.1.0", true, "1.3.6.1.2.1.1.1.0"},
        {".1.3.6.1", true, "1.3.6.1"},
        {"1.3.6.1.4294967295", true, "1.3.6.1.4294967295"},
        {"1", false, ""},
        {"1.3.", false, ""},
        {"1..3", false, ""},
        {"1.+3", false, ""},
        {"1.3.4294967296", false, ""},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        QList<quint32> arcs;
        EXPECT_EQ(qv::parseOid(QString::fromLatin1(c.text), &arcs), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(qv::oidText(arcs), QString::fromLatin1(c.normal));
        }
    }
}

TEST(ExchangeTimeout, SilentAgentTimesOutAfterEveryTry) {
    SilentPeer peer;
    const qv::Target t = silentTarget(peer.port(), 1); // 100 ms per try, one retry
    QElapsedTimer clock;
    clock.start();
    const ExchangeResult sync = qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(sync.result, -5);
    const auto mapped = qv::MapResult(sync.result);
    EXPECT_EQ(mapped.code, -405);
    EXPECT_EQ(mapped.text, QStringLiteral("(SNMPClass) SNMP request timed out!"));
    EXPECT_GE(elapsed, 190);
    EXPECT_LT(elapsed, 1500);
    EXPECT_EQ(sync.peerAddress, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(sync.peerPort, peer.port());
    EXPECT_EQ(peer.received(), 2); // first try and one retry

    std::optional<ExchangeResult> async;
    clock.restart();
    const auto outcome = qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)},
                                       [&](const ExchangeResult& r) { async = r; });
    ASSERT_TRUE(outcome.sent());
    EXPECT_LT(clock.elapsed(), 190); // waiting out both tries would take 200 ms
    EXPECT_EQ(qv::pendingExchanges(), 1);
    ASSERT_TRUE(waitUntil([&] { return async.has_value(); }));
    EXPECT_GE(clock.elapsed(), 190);
    EXPECT_EQ(async->result, -5);
    EXPECT_EQ(qv::pendingExchanges(), 0);
}

TEST(ExchangeTimeout, SnmpV3EngineDiscoveryDoesNotBlockAnAsynchronousSend) {
    SilentPeer peer;
    qv::Target t = silentTarget(peer.port(), 3);
    t.security.securityLevel = 3;
    t.security.securityName = QStringLiteral("user");
    t.security.authPassword = QStringLiteral("authpass123");
    t.security.privPassword = QStringLiteral("privpass123");
    t.security.authProtocol = 3;
    t.security.privProtocol = 2;
    std::vector<int> results;
    QElapsedTimer clock;
    clock.start();
    // Two exchanges wait for the same discovery; it times out for both.
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)},
                                  [&](const ExchangeResult& r) { results.push_back(r.result); })
                        .sent());
    }
    EXPECT_LT(clock.elapsed(), 190); // waiting for the discovery would take 200 ms
    ASSERT_TRUE(waitUntil([&] { return results.size() == 2; }));
    EXPECT_GE(clock.elapsed(), 190);
    EXPECT_EQ(results, (std::vector<int>{-5, -5}));
    EXPECT_EQ(peer.received(), 2); // one discovery probe and its retry; nothing else
}

TEST(ExchangeTimeout, DeadlineTimerRunsOnlyWhileAnExchangeIsOutstanding) {
    SilentPeer peer;
    std::optional<ExchangeResult> async;
    qv::sendAsync(silentTarget(peer.port(), 0), PduKind::Get, {VarBind::null(sysDescr0)},
                  [&](const ExchangeResult& r) { async = r; });
    const auto timers =
        QCoreApplication::instance()->findChildren<QTimer*>(QStringLiteral("snmpExchangeDeadline"));
    ASSERT_EQ(timers.size(), 1);
    EXPECT_TRUE(timers[0]->isActive());
    EXPECT_LE(timers[0]->interval(), 100);
    ASSERT_TRUE(waitUntil([&] { return async.has_value(); }));
    // With nothing outstanding the event loop has nothing of ours to wake up for.
    EXPECT_FALSE(timers[0]->isActive());
}

} // namespace
