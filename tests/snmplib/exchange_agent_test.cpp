// Exchanges against a real net-snmp agent on loopback.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "snmplib/exchange.h"
#include "snmplib/messages.h"
#include "snmplib/qv_exception.h"
#include "tests/snmplib/exchange_support.h"
#include "tests/support/qt_printers.h"

namespace {

using qv::ExchangeResult;
using qv::PduKind;
using qv::ValueType;
using qv::VarBind;

using testagent::sysContact0;
using testagent::sysDescr0;
using testagent::sysObjectId0;
using testagent::sysUpTime0;
using testagent::waitUntil;

class AgentExchange : public testagent::SnmpdSuite {
protected:
};

struct VersionCase {
    const char* what;
    int version;
    int level;
};

TEST_F(AgentExchange, SynchronousGetReadsValuesInEveryVersion) {
    const VersionCase cases[] = {
        {"SNMPv1", 0, 0},
        {"SNMPv2c", 1, 0},
        {"SNMPv3 MD5/DES authPriv", 3, 3},
    };
    for (const auto& c : cases) {
        const qv::Target t = agent->target(c.version);
        const ExchangeResult r = qv::exchange(
            t, PduKind::Get,
            {VarBind::null(sysDescr0), VarBind::null(sysObjectId0), VarBind::null(sysUpTime0)});
        ASSERT_EQ(r.result, 0) << c.what << " " << agent->log().toStdString();
        ASSERT_EQ(r.varbinds.size(), 3) << c.what;
        EXPECT_EQ(r.varbinds[0].oid, sysDescr0);
        EXPECT_EQ(r.varbinds[0].type, ValueType::OctetString);
        EXPECT_EQ(r.varbinds[0].bytes, QByteArray("KW test agent")) << c.what;
        EXPECT_EQ(r.varbinds[1].type, ValueType::ObjectId);
        EXPECT_TRUE(r.varbinds[1].bytes.startsWith("1.3.6.1.4.1.")) << c.what;
        EXPECT_EQ(r.varbinds[2].type, ValueType::TimeTicks);
        EXPECT_GT(r.varbinds[2].integer, 0);
        EXPECT_EQ(r.peerAddress, QStringLiteral("127.0.0.1"));
        EXPECT_EQ(r.peerPort, agent->port());
    }
}

TEST_F(AgentExchange, SnmpV3WithShaAndAesAndAHostName) {
    qv::Target t = agent->target(3);
    t.device.address = QStringLiteral("localhost");
    t.security.securityName = QLatin1String(testagent::SnmpdAgent::shaUser);
    t.security.authProtocol = 3;
    t.security.privProtocol = 19;
    const ExchangeResult r = qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
    ASSERT_EQ(r.result, 0) << agent->log().toStdString();
    ASSERT_EQ(r.varbinds.size(), 1);
    EXPECT_EQ(r.varbinds[0].bytes, QByteArray("KW test agent"));
}

// Every pair of protocols against net-snmp's own agent, with the keys the module makes at
// start-up: a GET and a SET answered, the value set read back.
TEST_F(AgentExchange, EveryProtocolPairGetsAndSets) {
    kwtest::forEachUsmPair([&](const kwtest::UsmPair& pair) {
        qv::Target t = agent->pairTarget(pair);
        qv::makeUserKeys(t.security);
        const ExchangeResult get = qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
        ASSERT_EQ(get.result, 0) << pair.what().toStdString() << agent->log().toStdString();
        ASSERT_EQ(get.varbinds.size(), 1);
        EXPECT_EQ(get.varbinds[0].bytes, QByteArray("KW test agent"));
        const QByteArray contact = "set as " + pair.user().toLatin1();
        const ExchangeResult set =
            qv::exchange(t, PduKind::Set, {{sysContact0, ValueType::OctetString, 0, 0, contact}});
        ASSERT_EQ(set.result, 0) << pair.what().toStdString();
        const ExchangeResult back =
            qv::exchange(agent->target(1), PduKind::Get, {VarBind::null(sysContact0)});
        ASSERT_EQ(back.varbinds.size(), 1);
        EXPECT_EQ(back.varbinds[0].bytes, contact) << pair.what().toStdString();
    });
}

// A wrong authentication pass phrase comes back as the agent's report; a wrong privacy pass
// phrase makes the agent drop the message (it decrypts to noise), so the exchange ends with its
// time-out once its tries are over, never waits longer.
TEST_F(AgentExchange, AWrongPassPhraseOfEachKindEndsInItsFailure) {
    kwtest::forEachUsmPair([&](const kwtest::UsmPair& pair) {
        if (pair.auth.protocol < 4 && pair.priv.protocol < 20)
            return; // the pairs the module offered before
        for (const bool wrongAuthentication : {true, false}) {
            if (!wrongAuthentication && !pair.withPrivacy())
                continue;
            qv::Target t = agent->pairTarget(pair);
            (wrongAuthentication ? t.security.authPassword : t.security.privPassword) =
                QStringLiteral("not-the-pass-phrase");
            t.timeout = 20;
            t.retries = 1;
            qv::makeUserKeys(t.security);
            const ExchangeResult r = qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
            EXPECT_EQ(qv::MapResult(r.result).text,
                      wrongAuthentication ? QStringLiteral("(SNMPv3USM) Authentication failure!")
                                          : QStringLiteral("(SNMPClass) SNMP request timed out!"))
                << pair.what().toStdString()
                << (wrongAuthentication ? " authentication" : " privacy");
        }
    });
}

struct V3FailureCase {
    const char* what;
    const char* user;
    const char* authPass;
    int code;
};

TEST_F(AgentExchange, SnmpV3CredentialFaultsComeBackAsUsmErrors) {
    const V3FailureCase cases[] = {
        {"wrong authentication pass phrase", testagent::SnmpdAgent::authUser, "wrongpass99", -308},
        {"unknown user", "nobody", "authpass123", -304},
    };
    for (const auto& c : cases) {
        qv::Target t = agent->target(3);
        t.security.securityName = QString::fromLatin1(c.user);
        t.security.authPassword = QString::fromLatin1(c.authPass);
        t.timeout = 50;
        const ExchangeResult r = qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
        const auto mapped = qv::MapResult(r.result);
        EXPECT_EQ(mapped.code, c.code) << c.what << ": result " << r.result;
    }
}

TEST_F(AgentExchange, ExceptionValuesAndErrorStatusAreVisible) {
    const QString missing = QStringLiteral("1.3.6.1.2.1.1.99.0");
    const QString missingInstance = QStringLiteral("1.3.6.1.2.1.1.1.7");
    const ExchangeResult v2 = qv::exchange(
        agent->target(1), PduKind::Get, {VarBind::null(missing), VarBind::null(missingInstance)});
    ASSERT_EQ(v2.result, 0);
    ASSERT_EQ(v2.varbinds.size(), 2);
    EXPECT_EQ(v2.varbinds[0].type, ValueType::NoSuchObject);
    EXPECT_EQ(v2.varbinds[1].type, ValueType::NoSuchInstance);

    const ExchangeResult end =
        qv::exchange(agent->target(1), PduKind::GetNext, {VarBind::null(QStringLiteral("2.0"))});
    ASSERT_EQ(end.result, 0);
    ASSERT_EQ(end.varbinds.size(), 1);
    EXPECT_EQ(end.varbinds[0].type, ValueType::EndOfMibView);

    // SNMPv1 says noSuchName in the error status, pointing at the binding.
    const ExchangeResult v1 = qv::exchange(agent->target(0), PduKind::Get,
                                           {VarBind::null(sysDescr0), VarBind::null(missing)});
    EXPECT_EQ(v1.result, 2);
    EXPECT_EQ(v1.errorStatus, 2);
    EXPECT_EQ(v1.errorIndex, 2);
    EXPECT_EQ(qv::MapResult(v1.result).code, -102);
}

TEST_F(AgentExchange, GetNextReturnsTheFollowingObject) {
    const ExchangeResult r =
        qv::exchange(agent->target(1), PduKind::GetNext,
                     {VarBind::null(QStringLiteral("1.3.6.1.2.1.1")), VarBind::null(sysDescr0)});
    ASSERT_EQ(r.result, 0);
    ASSERT_EQ(r.varbinds.size(), 2);
    EXPECT_EQ(r.varbinds[0].oid, sysDescr0);
    EXPECT_EQ(r.varbinds[1].oid, sysObjectId0);
}

TEST_F(AgentExchange, SetUsesTheWriteCommunityAndReportsRefusals) {
    const QByteArray contact = "ops@example.invalid";
    const ExchangeResult set = qv::exchange(agent->target(1), PduKind::Set,
                                            {{sysContact0, ValueType::OctetString, 0, 0, contact}});
    ASSERT_EQ(set.result, 0);
    const ExchangeResult back =
        qv::exchange(agent->target(1), PduKind::Get, {VarBind::null(sysContact0)});
    ASSERT_EQ(back.varbinds.size(), 1);
    EXPECT_EQ(back.varbinds[0].bytes, contact);

    // sysUpTime cannot be written: notWritable, pointing at the second binding.
    const ExchangeResult refused =
        qv::exchange(agent->target(1), PduKind::Set,
                     {{sysContact0, ValueType::OctetString, 0, 0, contact},
                      {sysUpTime0, ValueType::TimeTicks, 5, 0, {}}});
    EXPECT_EQ(refused.result, 17);
    EXPECT_EQ(refused.errorStatus, 17);
    EXPECT_EQ(refused.errorIndex, 2);
    EXPECT_EQ(qv::MapResult(refused.result).text,
              QStringLiteral("(SNMP) Cannot create/set variable, Not Writable!"));

    // The read community may not write: noAccess.
    qv::Target readOnly = agent->target(1);
    readOnly.security.writeCommunity = readOnly.security.readCommunity;
    const ExchangeResult denied =
        qv::exchange(readOnly, PduKind::Set, {{sysContact0, ValueType::OctetString, 0, 0, "x"}});
    EXPECT_EQ(qv::MapResult(denied.result).code, -106);
}

TEST_F(AgentExchange, AsynchronousAnswersArriveFromTheEventLoop) {
    const VersionCase cases[] = {
        {"SNMPv2c", 1, 0},
        {"SNMPv3, engine discovered on the way", 3, 3},
    };
    for (const auto& c : cases) {
        qv::Target t = agent->target(c.version);
        t.timeout = 101; // a fresh session, so SNMPv3 discovers the engine again
        std::optional<ExchangeResult> answer;
        QElapsedTimer clock;
        clock.start();
        const auto outcome = qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)},
                                           [&](const ExchangeResult& r) { answer = r; });
        EXPECT_LT(clock.elapsed(), 1000) << c.what; // shorter than one time-out
        ASSERT_TRUE(outcome.sent()) << c.what;
        EXPECT_FALSE(answer.has_value()) << c.what << ": delivered inside the call";
        EXPECT_EQ(qv::pendingExchanges(), 1);
        ASSERT_TRUE(waitUntil([&] { return answer.has_value(); })) << c.what;
        EXPECT_EQ(answer->result, 0) << c.what;
        ASSERT_EQ(answer->varbinds.size(), 1);
        EXPECT_EQ(answer->varbinds[0].bytes, QByteArray("KW test agent"));
        EXPECT_EQ(answer->peerPort, agent->port());
        EXPECT_EQ(qv::pendingExchanges(), 0);
    }
}

TEST_F(AgentExchange, AHandlerMaySendTheNextExchange) {
    // A walk of the system group, one GET-NEXT per answer.
    const qv::Target t = agent->target(1);
    QStringList seen;
    bool finished = false;
    std::function<void(const ExchangeResult&)> step = [&](const ExchangeResult& r) {
        if (r.result != 0 || r.varbinds.isEmpty() ||
            !r.varbinds[0].oid.startsWith(QStringLiteral("1.3.6.1.2.1.1.")) || seen.size() > 50) {
            finished = true;
            return;
        }
        seen.append(r.varbinds[0].oid);
        EXPECT_TRUE(
            qv::sendAsync(t, PduKind::GetNext, {VarBind::null(r.varbinds[0].oid)}, step).sent());
    };
    ASSERT_TRUE(
        qv::sendAsync(t, PduKind::GetNext, {VarBind::null(QStringLiteral("1.3.6.1.2.1.1"))}, step)
            .sent());
    ASSERT_TRUE(waitUntil([&] { return finished; }));
    ASSERT_GE(seen.size(), 4);
    EXPECT_EQ(seen[0], sysDescr0);
    EXPECT_EQ(seen[1], sysObjectId0);
    EXPECT_EQ(qv::pendingExchanges(), 0);
}

TEST_F(AgentExchange, NoDeliveryStartsWhileAnotherRuns) {
    const qv::Target t = agent->target(1);
    QStringList events;
    auto first = [&](const ExchangeResult&) {
        events << QStringLiteral("first begins");
        // The handler waits in a nested event loop, as a message box would.
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
        loop.exec();
        events << QStringLiteral("first ends");
    };
    auto second = [&](const ExchangeResult&) { events << QStringLiteral("second"); };
    ASSERT_TRUE(qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)}, first).sent());
    ASSERT_TRUE(qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)}, second).sent());
    ASSERT_TRUE(waitUntil([&] { return events.size() == 3; }));
    EXPECT_EQ(events, (QStringList{QStringLiteral("first begins"), QStringLiteral("first ends"),
                                   QStringLiteral("second")}));
}

TEST_F(AgentExchange, AHandlerThatThrowsDoesNotStopLaterDeliveries) {
    const qv::Target t = agent->target(1);
    bool secondCalled = false;
    ASSERT_TRUE(
        qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)}, [](const ExchangeResult&) {
            throw QvException(-509);
        }).sent());
    ASSERT_TRUE(
        qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)}, [&](const ExchangeResult&) {
            secondCalled = true;
        }).sent());
    EXPECT_TRUE(waitUntil([&] { return secondCalled; }));
    EXPECT_EQ(qv::pendingExchanges(), 0);
}

TEST_F(AgentExchange, CancelledExchangeIsDroppedWhenItsAnswerArrives) {
    const qv::Target t = agent->target(1);
    bool cancelledCalled = false;
    bool laterCalled = false;
    const auto cancelled = qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)},
                                         [&](const ExchangeResult&) { cancelledCalled = true; });
    ASSERT_TRUE(cancelled.sent());
    qv::cancelExchange(cancelled.id);
    EXPECT_EQ(qv::pendingExchanges(), 0);
    // A later exchange on the same socket is answered after the cancelled one.
    ASSERT_TRUE(
        qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)}, [&](const ExchangeResult&) {
            laterCalled = true;
        }).sent());
    ASSERT_TRUE(waitUntil([&] { return laterCalled; }));
    EXPECT_FALSE(cancelledCalled);
    qv::cancelExchange(cancelled.id); // twice: ignored
}

TEST_F(AgentExchange, SynchronousExchangeLeavesAsynchronousAnswersForTheEventLoop) {
    const qv::Target t = agent->target(1);
    bool asyncCalled = false;
    ASSERT_TRUE(
        qv::sendAsync(t, PduKind::Get, {VarBind::null(sysDescr0)}, [&](const ExchangeResult&) {
            asyncCalled = true;
        }).sent());
    const ExchangeResult sync = qv::exchange(t, PduKind::Get, {VarBind::null(sysUpTime0)});
    EXPECT_EQ(sync.result, 0);
    ASSERT_EQ(sync.varbinds.size(), 1);
    EXPECT_EQ(sync.varbinds[0].oid, sysUpTime0);
    EXPECT_FALSE(asyncCalled); // not from inside the synchronous call
    ASSERT_TRUE(waitUntil([&] { return asyncCalled; }));
}

} // namespace
