// What the simulated device does on its own: restart silence, save-and-activate, discard, changes
// at restart on early firmware, factory reset, the uptime and the moving load figures.
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QThread>

using kwtest::runSnmpTool;
using kwtest::SimDevice;

namespace {

const QString kSysUpTime = "1.3.6.1.2.1.1.3.0";
const QString kSysName = "1.3.6.1.2.1.1.5.0";
const QString kDevMib = "1.3.6.1.4.1.32473.1";
const QString kSsid = kDevMib + ".1.1.1.1.1";       // a setting: pending until activated
const QString kActiveSsid = kDevMib + ".4.2.1.1.1"; // the status object showing the active one
const QString kUpgradeCommand = kDevMib + ".3.3.5.0";
const QString kRestart = kDevMib + ".3.2.1.0";
const QString kFactoryDefault = kDevMib + ".3.2.2.0";
const QString kSaveActivate = kDevMib + ".5.1.0";
const QString kDiscard = kDevMib + ".5.2.0";

// The value part of one snmpget answer line, or "" when there was no answer.
QString get(const SimDevice& sim, const QString& oid, double timeoutSeconds = 1) {
    auto r = runSnmpTool("snmpget", sim.toolArgs(SimDevice::v2c(), timeoutSeconds) << oid);
    if (r.exitCode != 0)
        return {};
    return r.out.trimmed().section(" = ", 1);
}

bool set(const SimDevice& sim, const QStringList& varbinds) {
    auto r = runSnmpTool("snmpset", sim.toolArgs(SimDevice::v2c("quillet")) << varbinds);
    return r.exitCode == 0;
}

qint64 ticks(const QString& answer) {
    // "Timeticks: (123) 0:00:01.23"
    return answer.section('(', 1).section(')', 0, 0).toLongLong();
}

// Waits until the device answers again; returns the milliseconds that took, or -1.
qint64 waitForAnswer(const SimDevice& sim, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    bool back = SimDevice::waitUntil([&] { return !get(sim, kSysName, 0.2).isEmpty(); }, timeoutMs);
    return back ? clock.elapsed() : -1;
}

struct RestartCommand {
    const char* name;
    QString oid;
    const char* value;
    bool factoryReset;
};

TEST(SimBehaviour, RestartsSilentlyThenAnswersWithSettingsKeptOrReset) {
    const RestartCommand cases[] = {
        {"upgradesettingcommand reboot", kUpgradeCommand, "4", false},
        {"sysRestart true", kRestart, "1", false},
        {"upgradesettingcommand factory reset", kUpgradeCommand, "5", true},
        {"FactoryDefault true", kFactoryDefault, "1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The silence (2 s) and the uptime before it (at least 1.5 s) leave a busy machine room
        // for starting the tools that look at them.
        SimDevice sim({"recent", 2});
        ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
        ASSERT_TRUE(set(sim, {kSysName, "s", "renamed", kSsid, "s", "NewNet"}));
        QThread::msleep(1500);
        const qint64 before = ticks(get(sim, kSysUpTime));
        ASSERT_GE(before, 150);

        // The command itself is answered, then nothing is, for the restart's 2 s. Measured from
        // the answer on, so a slow machine can only make the silence look longer.
        ASSERT_TRUE(set(sim, {c.oid, "i", c.value}));
        QElapsedTimer silence;
        silence.start();
        EXPECT_EQ(get(sim, kSysName, 0.3), "");
        ASSERT_GE(waitForAnswer(sim, 8000), 0) << "the device did not come back";
        EXPECT_GT(silence.elapsed(), 1800);
        // The uptime started again (read first, before later requests let it grow).
        EXPECT_LT(ticks(get(sim, kSysUpTime)), before);

        if (c.factoryReset) {
            EXPECT_EQ(get(sim, kSysName), "STRING: \"KW-9100\"");
            EXPECT_EQ(get(sim, kSsid), "STRING: \"KW9100\"");
            EXPECT_EQ(get(sim, kActiveSsid), "STRING: \"KW9100\"");
        } else {
            EXPECT_EQ(get(sim, kSysName), "STRING: \"renamed\"");
            EXPECT_EQ(get(sim, kSsid), "STRING: \"NewNet\"");
            // The restart made the pending SSID the active one.
            EXPECT_EQ(get(sim, kActiveSsid), "STRING: \"NewNet\"");
        }
        // The command object rests at its idle value.
        EXPECT_EQ(sim.value(c.oid)["value"].toString(), sim.value(c.oid)["active"].toString());
        EXPECT_NE(get(sim, c.oid), "INTEGER: " + QString(c.value));
        // The journal shows the restart and the return.
        int restarts = 0, ready = 0;
        for (const auto& line : sim.journal()) {
            restarts += line["event"].toString() == "restart";
            ready += line["event"].toString() == "ready";
            if (line["event"].toString() == "restart") {
                EXPECT_EQ(line["factory"].toBool(), c.factoryReset);
            }
        }
        EXPECT_EQ(restarts, 1);
        EXPECT_EQ(ready, 1);
        EXPECT_EQ(sim.errors(), "");
    }
}

TEST(SimBehaviour, SaveAndActivateMakesPendingChangesActiveAndRestarts) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    ASSERT_TRUE(set(sim, {kSsid, "s", "Pending"}));
    // Read back as written, but not yet in effect.
    EXPECT_EQ(get(sim, kSsid), "STRING: \"Pending\"");
    EXPECT_EQ(get(sim, kActiveSsid), "STRING: \"KW9100\"");
    EXPECT_EQ(sim.value(kSsid)["pending"].toString(), "Pending");

    ASSERT_TRUE(set(sim, {kSaveActivate, "i", "1"}));
    EXPECT_EQ(get(sim, kSsid, 0.3), "") << "a save restarts the device";
    ASSERT_GE(waitForAnswer(sim, 5000), 0);
    EXPECT_EQ(get(sim, kActiveSsid), "STRING: \"Pending\"");
    EXPECT_FALSE(sim.value(kSsid).contains("pending"));
    EXPECT_EQ(get(sim, kSaveActivate), "INTEGER: 0");
}

TEST(SimBehaviour, DiscardDropsPendingChangesWithoutRestart) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    ASSERT_TRUE(set(sim, {kSsid, "s", "Pending", kSysName, "s", "renamed"}));
    ASSERT_TRUE(set(sim, {kDiscard, "i", "1"}));
    // Answers at once: no restart.
    EXPECT_EQ(get(sim, kSsid), "STRING: \"KW9100\"");
    EXPECT_EQ(get(sim, kActiveSsid), "STRING: \"KW9100\"");
    // MIB-II settings take effect at once and are not pending, so discard leaves them.
    EXPECT_EQ(get(sim, kSysName), "STRING: \"renamed\"");
    EXPECT_EQ(get(sim, kDiscard), "INTEGER: 0");
    for (const auto& line : sim.journal())
        EXPECT_NE(line["event"].toString(), "restart");
}

TEST(SimBehaviour, EarlyFirmwareHasNoSaveObjectsAndAppliesChangesAtRestart) {
    SimDevice sim({"early", 1});
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    auto save = runSnmpTool("snmpget", sim.toolArgs(SimDevice::v2c()) << kSaveActivate << kDiscard);
    EXPECT_EQ(save.out, "." + kSaveActivate +
                            " = No Such Object available on this agent at this OID\n." + kDiscard +
                            " = No Such Object available on this agent at this OID\n");
    EXPECT_EQ(get(sim, kDevMib + ".4.1.1.1.0"), "STRING: \"v1.12\"");
    EXPECT_EQ(get(sim, kDevMib + ".99.1.1.7.0"),
              "No Such Object available on this agent at this OID");

    ASSERT_TRUE(set(sim, {kSsid, "s", "Later"}));
    EXPECT_EQ(get(sim, kActiveSsid), "STRING: \"KW9100\"");
    ASSERT_TRUE(set(sim, {kUpgradeCommand, "i", "4"}));
    ASSERT_GE(waitForAnswer(sim, 5000), 0);
    EXPECT_EQ(get(sim, kActiveSsid), "STRING: \"Later\"");
}

TEST(SimBehaviour, UptimeCountsInHundredthsAndLoadFiguresMove) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    // The device's clock against ours: the two readings lie at least the time between the first
    // answer and the second request apart, and at most the time from the first request to the
    // second answer (a hundredth either way for the rounding), however slow the tools start.
    QElapsedTimer clock;
    clock.start();
    const qint64 first = ticks(get(sim, kSysUpTime));
    const qint64 firstAnswered = clock.elapsed();
    QThread::msleep(500);
    const qint64 secondAsked = clock.elapsed();
    const qint64 second = ticks(get(sim, kSysUpTime));
    const qint64 secondAnswered = clock.elapsed();
    EXPECT_GE((second - first) * 10, secondAsked - firstAnswered - 10);
    EXPECT_LE((second - first) * 10, secondAnswered + 10);

    for (const QString& load : {kDevMib + ".4.1.2.1.0", kDevMib + ".4.1.2.2.0"}) {
        SCOPED_TRACE(load.toStdString());
        QStringList readings;
        for (int i = 0; i < 4; ++i)
            readings << get(sim, load);
        for (int i = 0; i < readings.size(); ++i) {
            ASSERT_TRUE(readings[i].startsWith("INTEGER: ")) << readings[i].toStdString();
            int percent = readings[i].mid(9).toInt();
            EXPECT_GE(percent, 0);
            EXPECT_LE(percent, 100);
            if (i > 0) {
                EXPECT_NE(readings[i], readings[i - 1]);
            }
        }
    }
}

} // namespace
