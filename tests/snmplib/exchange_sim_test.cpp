// What the exchanges put on the wire, read back from the simulated device's journal.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonObject>

#include "snmplib/exchange.h"
#include "snmplib/messages.h"
#include "tests/snmplib/exchange_support.h"
#include "tests/support/sim_fixture.h"
#include "tests/support/usm_pairs.h"

namespace {

using qv::ExchangeResult;
using qv::PduKind;
using qv::ValueType;
using qv::VarBind;

const QString devMib = QStringLiteral("1.3.6.1.4.1.32473.1");
using testagent::sysContact0;
using testagent::sysDescr0;
const QString channel1 = devMib + QStringLiteral(".1.1.1.3.1");
const QString netmask0 = devMib + QStringLiteral(".1.2.3.0");

class SimExchange : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sim = std::make_unique<kwtest::SimDevice>(); }
    static void TearDownTestSuite() { sim.reset(); }
    void SetUp() override {
        ASSERT_TRUE(sim->ok()) << sim->error().toStdString();
        sim->clearJournal();
    }

    static qv::Target target(int version, const char* user = "kwmd5des", int level = 3,
                             int auth = 2, int priv = 2) {
        qv::Target t;
        t.device.address = sim->address();
        t.device.port = sim->port();
        t.security.version = static_cast<quint8>(version);
        t.security.readCommunity = QLatin1String(kwtest::SimDevice::kReadCommunity);
        t.security.writeCommunity = QLatin1String(kwtest::SimDevice::kWriteCommunity);
        t.security.securityModel = 3;
        t.security.securityLevel = level;
        t.security.securityName = QLatin1String(user);
        t.security.authPassword = QLatin1String(kwtest::SimDevice::kAuthPass);
        t.security.privPassword = QLatin1String(kwtest::SimDevice::kPrivPass);
        t.security.authProtocol = auth;
        t.security.privProtocol = priv;
        return t;
    }

    // The served PDUs of one operation.
    static QList<QJsonObject> served(const QString& op) {
        QList<QJsonObject> result;
        for (const QJsonObject& o : sim->requests(op)) {
            if (!o.contains(QStringLiteral("refused")))
                result.append(o);
        }
        return result;
    }

    static std::unique_ptr<kwtest::SimDevice> sim;
};

std::unique_ptr<kwtest::SimDevice> SimExchange::sim;

struct CredentialCase {
    const char* what;
    int version;
    const char* user;
    int level;
    int auth;
    int priv;
    const char* journalVersion;
    const char* getIdentity; // community or user of a GET
    const char* setIdentity; // and of a SET
    const char* journalLevel;
};

TEST_F(SimExchange, GetsAndSetsCarryTheRightCredentials) {
    const CredentialCase cases[] = {
        {"SNMPv1", 0, "", 1, 1, 1, "1", "fenrow", "quillet", ""},
        {"SNMPv2c", 1, "", 1, 1, 1, "2c", "fenrow", "quillet", ""},
        {"SNMPv3 MD5/DES", 3, "kwmd5des", 3, 2, 2, "3", "kwmd5des", "kwmd5des", "authPriv"},
        {"SNMPv3 SHA/DES", 3, "kwshades", 3, 3, 2, "3", "kwshades", "kwshades", "authPriv"},
        {"SNMPv3 SHA/AES", 3, "kwshaaes", 3, 3, 19, "3", "kwshaaes", "kwshaaes", "authPriv"},
        {"SNMPv3 MD5 authNoPriv", 3, "kwmd5", 2, 2, 1, "3", "kwmd5", "kwmd5", "authNoPriv"},
    };
    for (const auto& c : cases) {
        sim->clearJournal();
        const qv::Target t = target(c.version, c.user, c.level, c.auth, c.priv);
        const ExchangeResult get = qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
        ASSERT_EQ(get.result, 0) << c.what;
        ASSERT_EQ(get.varbinds.size(), 1);
        EXPECT_TRUE(get.varbinds[0].bytes.startsWith("KW-9100")) << c.what;
        const QByteArray contact = QByteArray("set by ") + c.what;
        const ExchangeResult set =
            qv::exchange(t, PduKind::Set, {{sysContact0, ValueType::OctetString, 0, 0, contact}});
        ASSERT_EQ(set.result, 0) << c.what;

        const QString identity =
            c.version == 3 ? QStringLiteral("user") : QStringLiteral("community");
        const auto gets = served(QStringLiteral("get"));
        const auto sets = served(QStringLiteral("set"));
        ASSERT_EQ(gets.size(), 1) << c.what;
        ASSERT_EQ(sets.size(), 1) << c.what;
        EXPECT_EQ(gets[0][QStringLiteral("version")].toString(), QLatin1String(c.journalVersion));
        EXPECT_EQ(gets[0][identity].toString(), QLatin1String(c.getIdentity)) << c.what;
        EXPECT_EQ(sets[0][identity].toString(), QLatin1String(c.setIdentity)) << c.what;
        if (c.version == 3) {
            EXPECT_EQ(gets[0][QStringLiteral("level")].toString(), QLatin1String(c.journalLevel));
            EXPECT_EQ(sets[0][QStringLiteral("level")].toString(), QLatin1String(c.journalLevel));
        }
        const QJsonObject vb = sets[0][QStringLiteral("varbinds")].toArray()[0].toObject();
        EXPECT_EQ(vb[QStringLiteral("oid")].toString(), sysContact0);
        EXPECT_EQ(vb[QStringLiteral("value")].toString(), QString::fromLatin1(contact));
    }
}

TEST_F(SimExchange, SetValuesGoOutWithTheirTypes) {
    const ExchangeResult set =
        qv::exchange(target(1), PduKind::Set,
                     {{channel1, ValueType::Integer, 11, 0, {}},
                      {netmask0, ValueType::IpAddress, 0, 0, QByteArray("\xff\xff\x00\x00", 4)},
                      {sysContact0, ValueType::OctetString, 0, 0, QByteArray("a\0b", 3)}});
    ASSERT_EQ(set.result, 0);
    const auto sets = served(QStringLiteral("set"));
    ASSERT_EQ(sets.size(), 1);
    const QJsonArray vbs = sets[0][QStringLiteral("varbinds")].toArray();
    ASSERT_EQ(vbs.size(), 3);
    EXPECT_EQ(vbs[0].toObject()[QStringLiteral("type")].toString(), QStringLiteral("integer"));
    EXPECT_EQ(vbs[0].toObject()[QStringLiteral("value")].toString(), QStringLiteral("11"));
    EXPECT_EQ(vbs[1].toObject()[QStringLiteral("type")].toString(), QStringLiteral("ipaddress"));
    EXPECT_EQ(vbs[1].toObject()[QStringLiteral("value")].toString(), QStringLiteral("255.255.0.0"));
    EXPECT_EQ(vbs[2].toObject()[QStringLiteral("hex")].toString(), QStringLiteral("610062"));

    const ExchangeResult back =
        qv::exchange(target(1), PduKind::Get, {VarBind::null(channel1), VarBind::null(netmask0)});
    ASSERT_EQ(back.varbinds.size(), 2);
    EXPECT_EQ(back.varbinds[0].type, ValueType::Integer);
    EXPECT_EQ(back.varbinds[0].integer, 11);
    EXPECT_EQ(back.varbinds[1].type, ValueType::IpAddress);
    EXPECT_EQ(back.varbinds[1].bytes, QByteArray("\xff\xff\x00\x00", 4));
}

TEST_F(SimExchange, DeviceErrorStatus19ReachesItsOwnText) {
    ASSERT_TRUE(sim->command(QStringLiteral("error ") + channel1 + QStringLiteral(" 19 set")));
    const ExchangeResult set = qv::exchange(target(1), PduKind::Set,
                                            {{sysContact0, ValueType::OctetString, 0, 0, "x"},
                                             {channel1, ValueType::Integer, 3, 0, {}}});
    sim->command(QStringLiteral("error ") + channel1 + QStringLiteral(" 0 set"));
    EXPECT_EQ(set.errorStatus, 19);
    EXPECT_EQ(set.errorIndex, 2);
    const auto mapped = qv::MapResult(set.result);
    EXPECT_EQ(mapped.code, -119);
    EXPECT_EQ(mapped.text, QStringLiteral("(SNMP) Cannot download the overdue firmware!"));
}

struct WrongPassCase {
    const char* user;
    int auth;
    int priv;
    bool wrongAuthentication; // else the privacy pass phrase is wrong
};

constexpr char kAuthenticationFailure[] = "(SNMPv3USM) Authentication failure!";
constexpr char kTimedOut[] = "(SNMPClass) SNMP request timed out!";

// A wrong authentication pass phrase is reported by the device. A wrong privacy pass phrase
// cannot be told by a USM agent (the cipher turns the message into noise that it drops as
// unparsable), so the exchange ends with its time-out, once its tries are over.
TEST_F(SimExchange, AWrongPassPhraseEndsTheExchangeWithItsFailure) {
    const WrongPassCase cases[] = {
        {"kwsha512aes256", 7, 21, true}, {"kwsha512aes256", 7, 21, false},
        {"kwsha224aes192", 4, 20, true}, {"kwsha224aes192", 4, 20, false},
        {"kwsha256des", 5, 2, true},     {"kwsha384aes", 6, 19, false},
        {"kwsha384", 6, 1, true},
    };
    for (const WrongPassCase& c : cases) {
        qv::Target t = target(3, c.user, c.priv == 1 ? 2 : 3, c.auth, c.priv);
        (c.wrongAuthentication ? t.security.authPassword : t.security.privPassword) =
            QStringLiteral("not-the-pass-phrase");
        t.timeout = 30;
        t.retries = 1;
        qv::makeUserKeys(t.security);
        const ExchangeResult r = qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
        EXPECT_EQ(qv::MapResult(r.result).text,
                  QLatin1String(c.wrongAuthentication ? kAuthenticationFailure : kTimedOut))
            << c.user << (c.wrongAuthentication ? " authentication" : " privacy");
    }
}

// Every pair of protocols, with the keys the module makes from the pass phrases at start-up
// (the pass phrases themselves are gone by then): a GET and a SET answered, at the pair's level.
TEST_F(SimExchange, EveryProtocolPairGetsAndSetsWithTheUsersKeys) {
    kwtest::forEachUsmPair([&](const kwtest::UsmPair& pair) {
        sim->clearJournal();
        const QString user = pair.user();
        qv::Target t = target(3, "", pair.level(), pair.auth.protocol, pair.priv.protocol);
        t.security.securityName = user;
        qv::makeUserKeys(t.security);
        ASSERT_TRUE(t.security.authPassword.isEmpty() && t.security.privPassword.isEmpty());
        const ExchangeResult get = qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
        ASSERT_EQ(get.result, 0) << pair.what().toStdString();
        ASSERT_EQ(get.varbinds.size(), 1);
        EXPECT_TRUE(get.varbinds[0].bytes.startsWith("KW-9100"));
        const QByteArray contact = "set by " + user.toLatin1();
        const ExchangeResult set =
            qv::exchange(t, PduKind::Set, {{sysContact0, ValueType::OctetString, 0, 0, contact}});
        ASSERT_EQ(set.result, 0) << pair.what().toStdString();

        const auto gets = served(QStringLiteral("get"));
        const auto sets = served(QStringLiteral("set"));
        ASSERT_EQ(gets.size(), 1) << pair.what().toStdString();
        ASSERT_EQ(sets.size(), 1) << pair.what().toStdString();
        const QString level = pair.withPrivacy() ? "authPriv" : "authNoPriv";
        EXPECT_EQ(gets[0][QStringLiteral("user")].toString(), user);
        EXPECT_EQ(sets[0][QStringLiteral("level")].toString(), level) << user.toStdString();
        EXPECT_EQ(sets[0][QStringLiteral("varbinds")]
                      .toArray()[0]
                      .toObject()[QStringLiteral("value")]
                      .toString(),
                  QString::fromLatin1(contact));
    });
}

struct UnsupportedCase {
    const char* what;
    int level;
    int auth;
    int priv;
    int code;
};

// A protocol number the module does not know is refused before anything is sent: never a weaker
// protocol in its place, never privacy left out.
TEST_F(SimExchange, UnknownProtocolsAreRefusedAndNothingIsSent) {
    const UnsupportedCase cases[] = {
        {"IDEA", 3, 2, 9, -313},
        {"privacy code 3 (not the module's)", 3, 7, 4, -313},
        {"privacy beyond AES-256", 3, 7, 22, -313},
        {"authentication beyond HMAC-SHA-512", 3, 8, 21, -312},
        {"authentication beyond HMAC-SHA-512, authNoPriv", 2, 8, 1, -312},
        {"authentication code -1", 2, 0, 1, -312},
    };
    for (const UnsupportedCase& c : cases) {
        sim->clearJournal();
        qv::Target t = target(3, "kwsha512aes256", c.level, c.auth, c.priv);
        qv::makeUserKeys(t.security);
        const auto mapped =
            qv::MapResult(qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)}).result);
        EXPECT_EQ(mapped.code, c.code) << c.what;
        const auto outcome = qv::sendAsync(t, PduKind::Set, {VarBind::null(sysContact0)}, {});
        EXPECT_FALSE(outcome.sent()) << c.what;
        EXPECT_EQ(qv::MapResult(outcome.refusal.result).code, c.code) << c.what;
        // A later exchange is journalled, the refused ones before it are not.
        ASSERT_EQ(qv::exchange(target(1), PduKind::Get, {VarBind::null(sysDescr0)}).result, 0);
        const auto all = sim->requests();
        ASSERT_EQ(all.size(), 1) << c.what;
        EXPECT_EQ(all[0][QStringLiteral("version")].toString(), QStringLiteral("2c"));
    }
}

TEST_F(SimExchange, ContextNameGoesOnSnmpV3Pdus) {
    qv::Target t = target(3);
    t.scope.contextName = QStringLiteral("kwctx");
    qv::exchange(t, PduKind::Get, {VarBind::null(sysDescr0)});
    const auto gets = sim->requests(QStringLiteral("get"));
    ASSERT_FALSE(gets.isEmpty());
    EXPECT_EQ(gets.back()[QStringLiteral("context")].toString(), QStringLiteral("kwctx"));
}

} // namespace
