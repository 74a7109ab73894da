// The request engine against the simulated access point: what it sends is read back from the
// device's journal.
#include "snmplib/request.h"

#include "platform/timers.h"
#include "snmplib/exchange.h"
#include "snmplib/messages.h"
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

namespace {

using kwtest::SimDevice;

// A small device: two scalars, a three-row table in the middle of the MIB and a two-row table at
// its very end (a walk of it runs past the last object).
constexpr const char* kProfile = R"(
community read fenrow
community write quillet
user kwshades SHA kw9100-auth DES kw9100-priv
1.3.6.1.2.1.1.1.0  string     ro  "KW-9100 test device"
1.3.6.1.2.1.1.5.0  string     rw  "KW-9100"   now
devMib.2.7.1.1.1   integer    ro  1
devMib.2.7.1.1.2   integer    ro  2
devMib.2.7.1.1.3   integer    ro  3
devMib.2.7.1.2.1   string     rw  "one"       now
devMib.2.7.1.2.2   string     rw  "two"       now
devMib.2.7.1.2.3   string     rw  "three"     now
devMib.2.7.1.3.1   ipaddress  rw  10.0.0.1    now
devMib.2.7.1.3.2   ipaddress  rw  10.0.0.2    now
devMib.2.7.1.3.3   ipaddress  rw  10.0.0.3    now
devMib.2.7.1.10.1  integer    ro  99
devMib.3.1.0       integer    rw  7           now
devMib.99.9.1.2.5  string     ro  "fifth"
devMib.99.9.1.2.6  string     ro  "sixth"
)";

// The table: the index column is the key; the name and address columns are read and written.
constexpr QvOptionSource kNames[] = {{1, "first"}};
constexpr QvSNMPVarDef kTable[] = {
    {"devMib.2.7.1.1", "index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.2.7.1.2", "name", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.2.7.1.3", "address", QvSyntax::ipaddress, QvAccess::readwrite},
};
// The table at the end of the MIB, keyed by its (not fetched) index.
constexpr QvSNMPVarDef kLastTable[] = {
    {" ", "index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.99.9.1.2", "text", QvSyntax::displaystr, QvAccess::readonly},
};
constexpr QvSNMPVarDef kScalars[] = {
    {"1.3.6.1.2.1.1.1", "sysDescr", QvSyntax::displaystr, QvAccess::readonly},
    {"1.3.6.1.2.1.1.5", "sysName", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.3.1", "setting", QvSyntax::integer, QvAccess::readwrite, kNames},
};

const QString kTableOid = QStringLiteral("1.3.6.1.4.1.32473.1.2.7.1");

struct Credentials {
    const char* what;
    quint8 version;
};
constexpr Credentials kVersions[] = {{"v1", 0}, {"v2c", 1}, {"v3 authPriv", 3}};

class SimRequest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kwtest::SimOptions options;
        options.profileText = kProfile;
        sim = std::make_unique<SimDevice>(options);
    }
    static void TearDownTestSuite() { sim.reset(); }
    void SetUp() override {
        ASSERT_TRUE(sim->ok()) << sim->error().toStdString();
        sim->clearJournal();
    }

    static std::unique_ptr<QvSNMPRequest>
    request(quint8 version, std::span<const QvSNMPVarDef> table, quint8 kind, int keys = 0) {
        auto r = std::make_unique<QvSNMPRequest>();
        r->device.address = sim->address();
        r->device.port = sim->port();
        r->security.version = version;
        r->security.readCommunity = QLatin1String(SimDevice::kReadCommunity);
        r->security.writeCommunity = QLatin1String(SimDevice::kWriteCommunity);
        if (version == 3) {
            r->security.securityModel = 3;
            r->security.securityLevel = 3;
            r->security.securityName = QStringLiteral("kwshades");
            r->security.authPassword = QLatin1String(SimDevice::kAuthPass);
            r->security.privPassword = QLatin1String(SimDevice::kPrivPass);
            r->security.authProtocol = 3;
            r->security.privProtocol = 2;
        }
        r->vars = QvSNMPVarList(table, kind, keys);
        return r;
    }

    static QStringList varbindOids(const QJsonObject& pdu) {
        QStringList oids;
        for (const QJsonValue& b : pdu.value(QStringLiteral("varbinds")).toArray())
            oids.append(b.toObject().value(QStringLiteral("oid")).toString());
        return oids;
    }

    static std::unique_ptr<SimDevice> sim;
};

std::unique_ptr<SimDevice> SimRequest::sim;

TEST_F(SimRequest, ScalarGetAndSetInEveryVersion) {
    for (const Credentials& c : kVersions) {
        SCOPED_TRACE(c.what);
        sim->clearJournal();
        auto r = request(c.version, kScalars, SVT_SV);
        bool ok = true;
        EXPECT_FALSE(r->GetStep(ok, true));
        EXPECT_TRUE(ok);
        EXPECT_EQ(r->vars.item(0).value, QStringLiteral("KW-9100 test device"));
        EXPECT_EQ(r->vars.item(2).value, QStringLiteral("7"));
        const auto gets = sim->requests(QStringLiteral("get"));
        ASSERT_EQ(gets.size(), 1);
        EXPECT_EQ(varbindOids(gets[0]), (QStringList{"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.5.0",
                                                     "1.3.6.1.4.1.32473.1.3.1.0"}));

        const QString name = QStringLiteral("AP %1").arg(QLatin1String(c.what));
        r->vars.item(1).value = name;
        r->vars.item(2).value = QStringLiteral("first"); // a label goes out as its value
        EXPECT_FALSE(r->Set(ok, false));
        EXPECT_TRUE(ok);
        const auto sets = sim->requests(QStringLiteral("set"));
        ASSERT_EQ(sets.size(), 1);
        const QJsonArray binds = sets[0].value(QStringLiteral("varbinds")).toArray();
        ASSERT_EQ(binds.size(), 2); // sysDescr is read-only in the list
        EXPECT_EQ(binds[0].toObject().value(QStringLiteral("value")).toString(), name);
        EXPECT_EQ(binds[1].toObject().value(QStringLiteral("type")).toString(),
                  QStringLiteral("integer"));
        EXPECT_EQ(binds[1].toObject().value(QStringLiteral("value")).toString(),
                  QStringLiteral("1"));
        EXPECT_EQ(sim->value(QStringLiteral("1.3.6.1.2.1.1.5.0"))
                      .value(QStringLiteral("value"))
                      .toString(),
                  name);
        sim->command(QStringLiteral("set devMib.3.1.0 7"));
    }
}

TEST_F(SimRequest, WalkOfNRowsCostsNPlusOneExchanges) {
    for (const Credentials& c : kVersions) {
        SCOPED_TRACE(c.what);
        sim->clearJournal();
        auto r = request(c.version, kTable, MVT_FMV, 1);
        QStringList rows;
        bool ok = true;
        for (bool more = r->GetStep(ok, true); more; more = r->GetStep(ok, false))
            rows.append(r->vars.item(0).value + u' ' + r->vars.item(1).value + u' ' +
                        r->vars.item(2).value);
        EXPECT_TRUE(ok);
        EXPECT_EQ(rows, (QStringList{"1 one 10.0.0.1", "2 two 10.0.0.2", "3 three 10.0.0.3"}));
        const auto steps = sim->requests(QStringLiteral("getnext"));
        EXPECT_EQ(steps.size(), rows.size() + 1);
        // One binding per readable column, in list order, and never the key column.
        ASSERT_FALSE(steps.isEmpty());
        EXPECT_EQ(varbindOids(steps[0]), (QStringList{kTableOid + ".2", kTableOid + ".3"}));
        EXPECT_EQ(r->vars.item(1).value, QStringLiteral("(NOTDONE)"));
        EXPECT_EQ(r->vars.item(2).value, QStringLiteral("(NOTDONE)"));
    }
}

TEST_F(SimRequest, WalkPastTheEndOfTheMibEndsWithoutAFailure) {
    for (const Credentials& c : kVersions) {
        SCOPED_TRACE(c.what);
        sim->clearJournal();
        auto r = request(c.version, kLastTable, MVT_FMV, 1);
        std::vector<QvSNMPError> reports;
        r->onComplete = [&](const QvSNMPError& e) { reports.push_back(e); };
        QStringList rows;
        bool ok = true;
        for (bool more = r->GetStep(ok, true); more; more = r->GetStep(ok, false)) {
            rows.append(r->vars.item(0).value + u' ' + r->vars.item(1).value);
            ASSERT_LT(rows.size(), 10);
        }
        EXPECT_TRUE(ok);
        EXPECT_TRUE(reports.empty());
        EXPECT_EQ(rows, (QStringList{"5 fifth", "6 sixth"}));
        EXPECT_EQ(sim->requests(QStringLiteral("getnext")).size(), 3);
        // The key that is not fetched carries its own position.
        EXPECT_EQ(r->vars.item(0).walkPosition, QStringLiteral(" .6"));
    }
}

TEST_F(SimRequest, AsynchronousWalkEndsAtTheEndOfTheMib) {
    for (const Credentials& c : kVersions) {
        SCOPED_TRACE(c.what);
        sim->clearJournal();
        auto r = request(c.version, kLastTable, MVT_FMV, 1);
        QStringList rows;
        QvSNMPError final;
        bool done = false;
        QvSNMPRequest::AnswerHandler step = [&](const QvSNMPError& e, QvSNMPVarList& vars) {
            if (e.last) {
                final = e;
                done = true;
                return;
            }
            rows.append(vars.item(1).value);
            r->GetStepAsync(step, false);
        };
        r->GetStepAsync(step, true);
        ASSERT_TRUE(SimDevice::waitUntil([&] { return done; }, 10000));
        EXPECT_EQ(final.code, 0);
        EXPECT_EQ(final.text, qv::codeText(0));
        EXPECT_EQ(rows, (QStringList{"fifth", "sixth"}));
        EXPECT_EQ(sim->requests(QStringLiteral("getnext")).size(), 3);
        EXPECT_TRUE(SimDevice::waitUntil([&] { return r->outstanding() == 0; }, 2000));
    }
}

TEST_F(SimRequest, RowSetSendsTheColumnsAtTheRowInstance) {
    auto r = request(1, kTable, MVT_FMV, 1);
    r->vars.item(0).value = QStringLiteral("2");
    r->vars.item(1).value = QStringLiteral("deux");
    r->vars.item(2).value = QStringLiteral("10.9.9.2");
    bool ok = true;
    EXPECT_FALSE(r->Set(ok, false));
    EXPECT_TRUE(ok);
    const auto sets = sim->requests(QStringLiteral("set"));
    ASSERT_EQ(sets.size(), 1);
    EXPECT_EQ(varbindOids(sets[0]), (QStringList{kTableOid + ".2.2", kTableOid + ".3.2"}));
    EXPECT_EQ(sim->value(QStringLiteral("devMib.2.7.1.3.2")).value(QStringLiteral("value")),
              QStringLiteral("10.9.9.2"));
    sim->command(QStringLiteral("set devMib.2.7.1.2.2 two"));
    sim->command(QStringLiteral("set devMib.2.7.1.3.2 10.0.0.2"));
}

TEST_F(SimRequest, SelectionSendsOnlyTheListedVariablesThenRestoresTheList) {
    constexpr QvSNMPVarDef table[] = {
        {"1.3.6.1.2.1.1.5.0", "sysName", QvSyntax::displaystr, QvAccess::readwrite},
        {"devMib.3.1.0", "setting", QvSyntax::integer, QvAccess::readwrite},
        {"devMib.2.7.1.2.1", "name1", QvSyntax::displaystr, QvAccess::readwrite},
    };
    auto r = request(1, table, MVT_SV);
    for (int i = 0; i < 3; ++i)
        r->vars.item(i).value = QStringLiteral("kept %1").arg(i);
    r->vars.item(2).access |= QvAccess::invalid; // listed: takes part all the same
    const QvSNMPVarList before(r->vars);
    bool ok = true;
    const QStringList values{QStringLiteral("8"), QStringLiteral("uno")};
    EXPECT_FALSE(r->Set(ok, false, QStringLiteral("1,2,9"), &values));
    EXPECT_TRUE(ok);
    const auto sets = sim->requests(QStringLiteral("set"));
    ASSERT_EQ(sets.size(), 1);
    EXPECT_EQ(varbindOids(sets[0]),
              (QStringList{"1.3.6.1.4.1.32473.1.3.1.0", "1.3.6.1.4.1.32473.1.2.7.1.2.1"}));
    const QJsonArray binds = sets[0].value(QStringLiteral("varbinds")).toArray();
    EXPECT_EQ(binds[0].toObject().value(QStringLiteral("value")).toString(), QStringLiteral("8"));
    EXPECT_EQ(binds[1].toObject().value(QStringLiteral("value")).toString(), QStringLiteral("uno"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(r->vars.item(i).value, before.item(i).value);
        EXPECT_EQ(r->vars.item(i).access, before.item(i).access);
    }
    sim->command(QStringLiteral("set devMib.2.7.1.2.1 one"));
    sim->command(QStringLiteral("set devMib.3.1.0 7"));
}

TEST_F(SimRequest, EmptySelectionStillSendsAnEmptySet) {
    auto r = request(1, kScalars, SVT_SV);
    bool ok = true;
    EXPECT_FALSE(r->Set(ok, false, QStringLiteral("0"))); // sysDescr: read-only
    const auto sets = sim->requests(QStringLiteral("set"));
    ASSERT_EQ(sets.size(), 1);
    EXPECT_TRUE(varbindOids(sets[0]).isEmpty());
}

TEST_F(SimRequest, RefusedSetIsReportedAndTheListRestored) {
    ASSERT_TRUE(sim->command(QStringLiteral("error devMib.3 5 set")));
    auto r = request(1, kScalars, SVT_SV);
    r->vars.item(1).value = QStringLiteral("new name");
    r->vars.item(2).value = QStringLiteral("3");
    r->vars.item(2).setExpression = QStringLiteral("$2*10");
    const QvSNMPVarList before(r->vars);
    std::vector<QvSNMPError> reports;
    r->onComplete = [&](const QvSNMPError& e) { reports.push_back(e); };
    bool ok = true;
    EXPECT_FALSE(r->Set(ok, false, QStringLiteral("1,2")));
    sim->command(QStringLiteral("clear"));
    EXPECT_FALSE(ok);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].code, -105);
    EXPECT_EQ(reports[0].text, qv::codeText(-105));
    // The set expression was applied to what was sent, not kept.
    const auto sets = sim->requests(QStringLiteral("set"));
    ASSERT_EQ(sets.size(), 1);
    EXPECT_EQ(sets[0]
                  .value(QStringLiteral("varbinds"))
                  .toArray()[1]
                  .toObject()
                  .value(QStringLiteral("value")),
              QStringLiteral("30"));
    for (int i = 0; i < before.count(); ++i) {
        EXPECT_EQ(r->vars.item(i).value, before.item(i).value);
        EXPECT_EQ(r->vars.item(i).access, before.item(i).access);
    }
}

TEST_F(SimRequest, TimeOutIsReportedAsMinus405) {
    ASSERT_TRUE(sim->command(QStringLiteral("silence 1.3.6.1.2.1.1")));
    auto r = request(1, kScalars, SVT_SV);
    r->timeout = 20;
    r->retries = 1;
    std::vector<QvSNMPError> reports;
    r->onComplete = [&](const QvSNMPError& e) { reports.push_back(e); };
    bool ok = true;
    QElapsedTimer clock;
    clock.start();
    r->GetStep(ok, true);
    const qint64 waited = clock.elapsed();
    sim->command(QStringLiteral("clear"));
    EXPECT_FALSE(ok);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].code, -405);
    EXPECT_EQ(reports[0].text, qv::codeText(-405));
    EXPECT_EQ(sim->requests(QStringLiteral("get")).size(), 2); // the try and one retry
    EXPECT_GE(waited, 350);
}

TEST_F(SimRequest, AnswerAfterDestructionIsDropped) {
    ASSERT_TRUE(sim->command(QStringLiteral("delay 1.3.6.1.2.1.1 800 get")));
    platform::setTimerSpeed(20); // the 6 s bound passes in 300 ms
    auto r = request(1, kScalars, SVT_SV);
    r->timeout = 500;
    r->retries = 0;
    int called = 0;
    r->GetStepAsync([&](const QvSNMPError&, QvSNMPVarList&) { ++called; }, true);
    r.reset();
    platform::setTimerSpeed(1);
    EXPECT_EQ(qv::pendingExchanges(), 0);
    // The delayed answer arrives now and must touch nothing.
    SimDevice::waitUntil([] { return false; }, 1200);
    sim->command(QStringLiteral("clear"));
    EXPECT_EQ(called, 0);
    EXPECT_EQ(sim->requests(QStringLiteral("get")).size(), 1);
}

} // namespace
