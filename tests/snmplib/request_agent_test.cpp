// The request engine against a real net-snmp agent (snmpd) on loopback, compared with what
// net-snmp's own snmpwalk prints.
#include "snmplib/request.h"

#include "platform/timers.h"
#include "snmplib/exchange.h"
#include "snmplib/messages.h"
#include "tests/snmplib/exchange_support.h"
#include "tests/snmplib/raised_code.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMap>
#include <QProcess>

namespace {

using testagent::waitUntil;

void aim(QvSNMPRequest& request, const qv::Target& target) {
    request.device = target.device;
    request.scope = target.scope;
    request.security = target.security;
    request.timeout = target.timeout;
    request.retries = target.retries;
}

constexpr QvSNMPVarDef kSystem[] = {
    {"1.3.6.1.2.1.1.1", "sysDescr", QvSyntax::displaystr, QvAccess::readonly},
    {"1.3.6.1.2.1.1.2", "sysObjectID", QvSyntax::objectid, QvAccess::readonly},
    {"1.3.6.1.2.1.1.3", "sysUpTime", QvSyntax::timeticks, QvAccess::readonly},
    {"1.3.6.1.2.1.1.8", "sysORLastChange", QvSyntax::timeticks, QvAccess::readonly},
};

constexpr QvSNMPVarDef kWritable[] = {
    {"1.3.6.1.2.1.1.4", "sysContact", QvSyntax::displaystr, QvAccess::readwrite},
    {"1.3.6.1.2.1.1.5", "sysName", QvSyntax::displaystr, QvAccess::readwrite},
};

// The static columns of the interfaces table; ifIndex is the key.
constexpr QvSNMPVarDef kInterfaces[] = {
    {"1.3.6.1.2.1.2.2.1.1", "ifIndex", QvSyntax::integer, QvAccess::notaccess},
    {"1.3.6.1.2.1.2.2.1.2", "ifDescr", QvSyntax::displaystr, QvAccess::readonly},
    {"1.3.6.1.2.1.2.2.1.3", "ifType", QvSyntax::integer, QvAccess::readonly},
    {"1.3.6.1.2.1.2.2.1.4", "ifMtu", QvSyntax::integer, QvAccess::readonly},
    {"1.3.6.1.2.1.2.2.1.6", "ifPhysAddress", QvSyntax::macaddress, QvAccess::readonly},
    {"1.3.6.1.2.1.2.2.1.7", "ifAdminStatus", QvSyntax::integer, QvAccess::readonly},
};

// Rows by instance: column OID -> value text.
using Rows = QMap<QString, QMap<QString, QString>>;

class AgentRequest : public testagent::SnmpdSuite {
protected:
    // A request on the agent with a list of the table's records.
    static std::unique_ptr<QvSNMPRequest> request(int version, std::span<const QvSNMPVarDef> table,
                                                  quint8 kind, int keys = 0) {
        auto r = std::make_unique<QvSNMPRequest>();
        aim(*r, agent->target(version));
        r->vars = QvSNMPVarList(table, kind, keys);
        return r;
    }

    // What snmpwalk prints for the columns of a table, without quotes and blanks in hex.
    static Rows snmpwalk(std::span<const QvSNMPVarDef> table) {
        Rows rows;
        for (const QvSNMPVarDef& column : table) {
            QProcess walk;
            walk.start(QStringLiteral("snmpwalk"),
                       {QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("fenrow"),
                        QStringLiteral("-On"), QStringLiteral("-Oq"), QStringLiteral("-M"),
                        QStringLiteral("/dev/null"), QStringLiteral("-m"), QString(),
                        QStringLiteral("127.0.0.1:%1").arg(agent->port()),
                        QString::fromLatin1(column.oid)});
            if (!walk.waitForFinished(15000))
                return {};
            const QString prefix = QStringLiteral(".") + QLatin1String(column.oid) + u'.';
            for (const QString& line :
                 QString::fromUtf8(walk.readAllStandardOutput()).split(u'\n')) {
                if (!line.startsWith(prefix))
                    continue;
                const qsizetype blank = line.indexOf(u' ');
                const QString instance = line.mid(prefix.size(), blank - prefix.size());
                QString value = line.mid(blank + 1);
                if (value.startsWith(u'"') && value.endsWith(u'"'))
                    value = value.mid(1, value.size() - 2);
                if (column.syntax == QvSyntax::macaddress)
                    value.remove(u' ');
                rows[instance][QLatin1String(column.oid)] = value;
            }
        }
        return rows;
    }

    static Rows rowOf(const QvSNMPVarList& vars, Rows rows) {
        const QString instance = vars.EncodeInstance();
        for (int i = 0; i < vars.count(); ++i)
            rows[instance][vars.item(i).oid] = vars.item(i).value;
        return rows;
    }
};

TEST_F(AgentRequest, ScalarGetInEveryVersion) {
    for (int version : {0, 1, 3}) {
        SCOPED_TRACE(version);
        auto r = request(version, kSystem, SVT_SV);
        std::vector<QvSNMPError> reports;
        r->onComplete = [&](const QvSNMPError& e) { reports.push_back(e); };
        bool ok = true;
        EXPECT_FALSE(r->GetStep(ok, true));
        EXPECT_TRUE(ok);
        EXPECT_TRUE(reports.empty());
        EXPECT_EQ(r->vars.item(0).value, QStringLiteral("KW test agent"));
        EXPECT_TRUE(r->vars.item(1).value.startsWith(QStringLiteral("1.3.6.1.4.1.")));
        EXPECT_TRUE(r->vars.item(2).value.contains(u':'));
        EXPECT_TRUE(r->vars.item(3).value.startsWith(QStringLiteral("0:00:")));
    }
}

TEST_F(AgentRequest, GetNextOfSingleInstances) {
    constexpr QvSNMPVarDef table[] = {
        {"1.3.6.1.2.1.1.1", "sysDescr", QvSyntax::displaystr, QvAccess::readonly}};
    auto r = request(1, table, MVT_SV);
    r->useGetNext = true;
    bool ok = true;
    EXPECT_FALSE(r->GetStep(ok, true));
    EXPECT_TRUE(ok);
    EXPECT_EQ(r->vars.item(0).value, QStringLiteral("KW test agent"));
    EXPECT_EQ(r->vars.item(0).walkPosition, QStringLiteral("1.3.6.1.2.1.1.1.0"));
}

TEST_F(AgentRequest, MissingScalarIsNoSuchNameInEveryVersion) {
    constexpr QvSNMPVarDef table[] = {
        {"1.3.6.1.2.1.1.1", "sysDescr", QvSyntax::displaystr, QvAccess::readonly},
        {"1.3.6.1.2.1.1.99", "missing", QvSyntax::integer, QvAccess::readonly},
    };
    for (int version : {0, 1, 3}) {
        SCOPED_TRACE(version);
        auto r = request(version, table, SVT_SV);
        std::vector<QvSNMPError> reports;
        r->onComplete = [&](const QvSNMPError& e) { reports.push_back(e); };
        bool ok = true;
        EXPECT_FALSE(r->GetStep(ok, true));
        EXPECT_FALSE(ok);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].code, -102);
        EXPECT_EQ(reports[0].text, qv::codeText(-102));
        EXPECT_EQ(reports[0].errorIndex, 2);
        EXPECT_EQ(reports[0].errorCount, 1u);
        EXPECT_EQ(r->errorCount(), 1u);
    }
}

TEST_F(AgentRequest, TableWalkMatchesSnmpwalk) {
    const Rows expected = snmpwalk(kInterfaces);
    ASSERT_FALSE(expected.isEmpty());
    for (int version : {0, 1, 3}) {
        SCOPED_TRACE(version);
        auto r = request(version, kInterfaces, MVT_FMV, 1);
        Rows rows;
        bool ok = true;
        int steps = 0;
        for (bool more = r->GetStep(ok, true); more; more = r->GetStep(ok, false)) {
            rows = rowOf(r->vars, rows);
            ASSERT_LT(++steps, 1000);
        }
        EXPECT_TRUE(ok);
        EXPECT_EQ(rows, expected);
        // The walk ended with every column past its end.
        EXPECT_EQ(r->vars.item(1).value, QStringLiteral("(NOTDONE)"));
    }
}

TEST_F(AgentRequest, AsynchronousWalkDrivenFromItsHandler) {
    const Rows expected = snmpwalk(kInterfaces);
    auto r = request(1, kInterfaces, MVT_UMV, 1);
    Rows rows;
    bool done = false;
    int answers = 0;
    QvSNMPError final;
    QvSNMPRequest::AnswerHandler step = [&](const QvSNMPError& e, QvSNMPVarList& vars) {
        ++answers;
        EXPECT_EQ(e.peerAddress, QStringLiteral("127.0.0.1"));
        EXPECT_EQ(e.peerPort, agent->port());
        if (e.last) {
            final = e;
            done = true;
            return;
        }
        rows = rowOf(vars, rows);
        EXPECT_EQ(r->outstanding(), 1); // this answer, until the handler returns
        r->GetStepAsync(step, false);
    };
    r->GetStepAsync(step, true);
    EXPECT_EQ(r->outstanding(), 1);
    ASSERT_TRUE(waitUntil([&] { return done; }, 20000));
    EXPECT_EQ(final.code, 0);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(answers, expected.size() + 1);
    EXPECT_TRUE(waitUntil([&] { return r->outstanding() == 0; }));
}

TEST_F(AgentRequest, SetWithSelectionSendsOnlyTheChosenAndRestoresTheList) {
    auto r = request(1, kWritable, SVT_SV);
    r->vars.item(0).value = QStringLiteral("before");
    r->vars.item(1).value = QStringLiteral("name kept");
    bool ok = true;
    // Only sysContact, with the value given for it.
    const QStringList values{QStringLiteral("ops desk")};
    EXPECT_FALSE(r->Set(ok, false, QStringLiteral("0"), &values));
    EXPECT_TRUE(ok);
    EXPECT_EQ(r->vars.item(0).value, QStringLiteral("before"));
    EXPECT_EQ(r->vars.item(1).access, quint32{QvAccess::readwrite});

    auto check = request(1, kWritable, SVT_SV);
    EXPECT_FALSE(check->GetStep(ok, true));
    EXPECT_TRUE(ok);
    EXPECT_EQ(check->vars.item(0).value, QStringLiteral("ops desk"));
    EXPECT_NE(check->vars.item(1).value, QStringLiteral("name kept"));

    // Read back: the answer's values are stored over the restored list.
    const QStringList night{QStringLiteral("night desk")};
    EXPECT_FALSE(r->Set(ok, true, QStringLiteral("0"), &night));
    EXPECT_TRUE(ok);
    EXPECT_EQ(r->vars.item(0).value, QStringLiteral("night desk"));
    EXPECT_EQ(r->vars.item(1).value, QStringLiteral("name kept"));
}

TEST_F(AgentRequest, FailedSetIsReportedAndRestoresTheList) {
    constexpr QvSNMPVarDef table[] = {
        {"1.3.6.1.2.1.1.4", "sysContact", QvSyntax::displaystr, QvAccess::readwrite},
        {"1.3.6.1.2.1.1.1", "sysDescr", QvSyntax::displaystr, QvAccess::readwrite},
        {"1.3.6.1.2.1.1.3", "sysUpTime", QvSyntax::timeticks, QvAccess::readonly},
    };
    for (int version : {0, 1}) {
        SCOPED_TRACE(version);
        auto r = request(version, table, SVT_SV);
        r->vars.item(0).value = QStringLiteral("unchanged contact");
        r->vars.item(1).value = QStringLiteral("read-only text");
        r->vars.item(2).setExpression = QStringLiteral("100");
        const QvSNMPVarList before(r->vars);
        std::vector<QvSNMPError> reports;
        r->onComplete = [&](const QvSNMPError& e) { reports.push_back(e); };
        bool ok = true;
        EXPECT_FALSE(r->Set(ok, false, QStringLiteral("1,2")));
        EXPECT_FALSE(ok);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].code, 0);
        EXPECT_EQ(reports[0].text, qv::codeText(reports[0].code));
        for (int i = 0; i < before.count(); ++i) {
            EXPECT_EQ(r->vars.item(i).value, before.item(i).value);
            EXPECT_EQ(r->vars.item(i).access, before.item(i).access);
        }
    }
}

TEST_F(AgentRequest, TimeOutIsReportedWithItsText) {
    testagent::SilentPeer silent;
    const quint16 silentPort = silent.port();
    auto r = request(1, kSystem, SVT_SV);
    r->device.port = silentPort;
    r->timeout = 10;
    r->retries = 0;
    std::vector<QvSNMPError> reports;
    r->onComplete = [&](const QvSNMPError& e) { reports.push_back(e); };
    bool ok = true;
    EXPECT_FALSE(r->GetStep(ok, true));
    EXPECT_FALSE(ok);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].code, -405);
    EXPECT_EQ(reports[0].text, qv::codeText(-405));
    EXPECT_EQ(silent.received(), 1); // no retry asked for

    bool done = false;
    QvSNMPError answer;
    r->GetStepAsync(
        [&](const QvSNMPError& e, QvSNMPVarList&) {
            answer = e;
            done = true;
        },
        true);
    ASSERT_TRUE(waitUntil([&] { return done; }));
    EXPECT_EQ(answer.code, -405);
    EXPECT_TRUE(answer.last);
    EXPECT_EQ(answer.errorCount, 2u);
    EXPECT_EQ(reports.size(), 1u); // asynchronous answers go to the handler only
    EXPECT_TRUE(waitUntil([&] { return r->outstanding() == 0; }));
}

TEST_F(AgentRequest, RefusedSendIsReportedAtOnceWithoutOutstanding) {
    auto r = request(3, kSystem, SVT_SV);
    r->security.privProtocol = 9; // IDEA: not offered, never sent in clear
    std::vector<QvSNMPError> reports;
    r->onComplete = [&](const QvSNMPError& e) { reports.push_back(e); };
    bool called = false;
    r->GetStepAsync([&](const QvSNMPError&, QvSNMPVarList&) { called = true; }, true);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].code, 0);
    EXPECT_EQ(r->outstanding(), 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}

TEST_F(AgentRequest, DestructionWaitsForOutstandingAnswersOnly) {
    testagent::SilentPeer silent;
    const quint16 silentPort = silent.port();
    auto r = request(1, kSystem, SVT_SV);
    r->device.port = silentPort;
    r->timeout = 40;
    r->retries = 0;
    int called = 0;
    r->GetStepAsync([&](const QvSNMPError&, QvSNMPVarList&) { ++called; }, true);
    r->GetStepAsync([&](const QvSNMPError&, QvSNMPVarList&) { ++called; }, true);
    EXPECT_EQ(r->outstanding(), 2);
    QElapsedTimer clock;
    clock.start();
    r.reset();
    const qint64 waited = clock.elapsed();
    EXPECT_GE(waited, 300);  // both time-outs were waited for...
    EXPECT_LT(waited, 5000); // ...but not the full bound
    EXPECT_EQ(called, 0);    // a request being destroyed hands answers to nobody
    EXPECT_EQ(qv::pendingExchanges(), 0);
}

TEST_F(AgentRequest, DestructionGivesUpAfterItsBoundAndDropsLateAnswers) {
    platform::setTimerSpeed(20); // the 6 s bound passes in 300 ms
    testagent::SilentPeer silent;
    const quint16 silentPort = silent.port();
    auto r = request(1, kSystem, SVT_SV);
    r->device.port = silentPort;
    r->timeout = 3000; // far beyond the bound, even sped up
    r->retries = 0;
    int called = 0;
    r->GetStepAsync([&](const QvSNMPError&, QvSNMPVarList&) { ++called; }, true);
    QElapsedTimer clock;
    clock.start();
    r.reset();
    const qint64 waited = clock.elapsed();
    platform::setTimerSpeed(1);
    EXPECT_GE(waited, 250);
    EXPECT_LT(waited, 3000);
    EXPECT_EQ(qv::pendingExchanges(), 0);
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(called, 0);
}

TEST_F(AgentRequest, RequestDestroyedByItsOwnHandler) {
    auto r = request(1, kSystem, SVT_SV);
    bool called = false;
    QElapsedTimer clock;
    r->GetStepAsync(
        [&](const QvSNMPError& e, QvSNMPVarList& vars) {
            called = true;
            EXPECT_EQ(e.code, 0);
            EXPECT_EQ(vars.item(0).value, QStringLiteral("KW test agent"));
            clock.start();
            r.reset(); // a page that closes on its answer
        },
        true);
    ASSERT_TRUE(waitUntil([&] { return called; }));
    EXPECT_EQ(r, nullptr);
    EXPECT_LT(clock.elapsed(), 1000); // the answer in hand is not waited for
}

} // namespace
