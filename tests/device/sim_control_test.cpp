// The journal and the control channel of the simulated device: what tests assert on and how they
// steer it.
#include "tests/support/sim_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QProcess>
#include <QThread>

using kwtest::runSnmpTool;
using kwtest::SimDevice;

namespace {

const QString kSysDescr = "1.3.6.1.2.1.1.1.0";
const QString kSysName = "1.3.6.1.2.1.1.5.0";
const QString kDevMib = "1.3.6.1.4.1.32473.1";
const QString kChannel = kDevMib + ".1.1.1.3.1";
const QString kGateway = kDevMib + ".1.2.4.0";
const QString kFirmware = kDevMib + ".4.1.1.1.0";

kwtest::ToolResult tool(const SimDevice& sim, const QString& name, const QStringList& credentials,
                        const QStringList& rest, double timeoutSeconds = 1) {
    return runSnmpTool(name, sim.toolArgs(credentials, timeoutSeconds) << rest);
}

QJsonObject varbind(const QJsonObject& line, int i) {
    return line["varbinds"].toArray().at(i).toObject();
}

TEST(SimJournal, RecordsEveryPduWithItsVarbinds) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    tool(sim, "snmpget", SimDevice::v2c(), {kSysDescr, kFirmware});
    tool(sim, "snmpset", SimDevice::v1("quillet"),
         {kSysName, "s", "caf\xc3\xa9 \"x\"", kChannel, "i", "11", kGateway, "a", "127.0.0.9"});
    tool(sim, "snmpgetnext", SimDevice::v3("kwshades"), {kSysDescr});
    tool(sim, "snmpbulkget", SimDevice::v2c(), {"-Cn0", "-Cr2", kSysDescr});
    tool(sim, "snmpget", SimDevice::v2c("intruder"), {kSysDescr});

    auto lines = sim.requests();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0]["op"].toString(), "get");
    EXPECT_EQ(lines[0]["version"].toString(), "2c");
    EXPECT_EQ(lines[0]["community"].toString(), "fenrow");
    EXPECT_EQ(varbind(lines[0], 1)["oid"].toString(), kFirmware);
    EXPECT_EQ(varbind(lines[0], 1)["type"].toString(), "null");

    EXPECT_EQ(lines[1]["op"].toString(), "set");
    EXPECT_EQ(lines[1]["version"].toString(), "1");
    EXPECT_EQ(lines[1]["community"].toString(), "quillet");
    ASSERT_EQ(lines[1]["varbinds"].toArray().size(), 3);
    // Strings byte for byte (each byte one code point) and as hexadecimal.
    EXPECT_EQ(varbind(lines[1], 0)["type"].toString(), "string");
    EXPECT_EQ(varbind(lines[1], 0)["value"].toString(), QString::fromLatin1("caf\xc3\xa9 \"x\""));
    EXPECT_EQ(varbind(lines[1], 0)["hex"].toString(), "636166C3A920227822");
    EXPECT_EQ(varbind(lines[1], 1)["type"].toString(), "integer");
    EXPECT_EQ(varbind(lines[1], 1)["value"].toString(), "11");
    EXPECT_EQ(varbind(lines[1], 2)["type"].toString(), "ipaddress");
    EXPECT_EQ(varbind(lines[1], 2)["value"].toString(), "127.0.0.9");

    EXPECT_EQ(lines[2]["op"].toString(), "getnext");
    EXPECT_EQ(lines[2]["version"].toString(), "3");
    EXPECT_EQ(lines[2]["user"].toString(), "kwshades");
    EXPECT_EQ(lines[2]["level"].toString(), "authPriv");
    EXPECT_FALSE(lines[2].contains("community"));

    EXPECT_EQ(lines[3]["op"].toString(), "getbulk");
    EXPECT_EQ(lines[4]["refused"].toString(), "community");
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(lines[i].contains("refused")) << i;

    // Sequence numbers count up; clearing empties the file.
    auto all = sim.journal();
    for (int i = 1; i < all.size(); ++i)
        EXPECT_EQ(all[i]["seq"].toInt(), all[i - 1]["seq"].toInt() + 1);
    sim.clearJournal();
    EXPECT_TRUE(sim.journal().isEmpty());
    tool(sim, "snmpget", SimDevice::v2c(), {kSysDescr});
    EXPECT_EQ(sim.requests("get").size(), 1);
}

struct InjectedError {
    const char* name;
    QString command;
    const char* tool;
    QStringList credentials;
    QStringList request;
    const char* expected; // in the tool's error output
};

TEST(SimControl, InjectsErrorStatusesForAnOidPrefix) {
    const InjectedError cases[] = {
        {"genErr on gets, v2c",
         "error devMib.4.1 5 get",
         "snmpget",
         SimDevice::v2c(),
         {kSysDescr, kFirmware},
         "genError"},
        {"the device's own status 19 on sets",
         "error devMib.1.1 19 set",
         "snmpset",
         SimDevice::v2c("quillet"),
         {kSysName, "s", "x", kChannel, "i", "3"},
         "Unknown Error"},
        {"genErr on getnext, v1",
         "error devMib.4 5",
         "snmpgetnext",
         SimDevice::v1(),
         {kDevMib + ".3.9"},
         "genError"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDevice sim;
        ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
        ASSERT_EQ(sim.control(c.command), "ok");
        auto r = tool(sim, c.tool, c.credentials, c.request);
        EXPECT_TRUE(r.err.contains(c.expected)) << r.err.toStdString();
        // The varbind under the prefix is the one named.
        EXPECT_TRUE(r.err.contains("Failed object: ." + kDevMib)) << r.err.toStdString();
        // A set refused this way changes nothing.
        EXPECT_EQ(sim.value(kSysName)["value"].toString(), "KW-9100");
        // Clearing the prefix restores normal answers.
        EXPECT_EQ(sim.control("clear devMib"), "ok 1");
        auto again = tool(sim, c.tool, c.credentials, c.request);
        EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    }
}

TEST(SimControl, DelaysAnswersWithoutHoldingUpOthers) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    // 3 s: far longer than starting two tools takes on a busy machine.
    ASSERT_EQ(sim.control("delay devMib.4 3000 get"), "ok");
    QProcess slow;
    QElapsedTimer clock;
    clock.start();
    slow.start("snmpget", sim.toolArgs(SimDevice::v2c(), 6) << kFirmware);
    ASSERT_TRUE(slow.waitForStarted());
    // Meanwhile other requests are served at once, a set included.
    ASSERT_TRUE(SimDevice::waitUntil([&] { return sim.requests().size() == 1; }, 3000));
    auto quick = tool(sim, "snmpset", SimDevice::v2c("quillet"), {kSysName, "s", "quick"});
    EXPECT_EQ(quick.exitCode, 0) << quick.err.toStdString();
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_EQ(slow.state(), QProcess::Running);
    ASSERT_TRUE(slow.waitForFinished(8000));
    EXPECT_GE(clock.elapsed(), 3000);
    EXPECT_EQ(QString::fromUtf8(slow.readAllStandardOutput()),
              "." + kFirmware + " = STRING: \"v2.50\"\n");
    // A delayed set is applied and answered late as well.
    ASSERT_EQ(sim.control("delay devMib.1 600 set"), "ok");
    clock.restart();
    auto late = tool(sim, "snmpset", SimDevice::v2c("quillet"), {kChannel, "i", "3"}, 3);
    EXPECT_EQ(late.exitCode, 0) << late.err.toStdString();
    EXPECT_GE(clock.elapsed(), 600);
    EXPECT_EQ(sim.value(kChannel)["value"].toString(), "3");
    // Stopping with a request still held back leaves nothing behind.
    ASSERT_EQ(sim.control("delay devMib 5000"), "ok");
    QProcess pending;
    pending.start("snmpget", sim.toolArgs(SimDevice::v3("kwmd5des"), 8) << kFirmware);
    ASSERT_TRUE(SimDevice::waitUntil([&] { return sim.requests().size() == 4; }, 3000));
    sim.stop();
    EXPECT_EQ(sim.errors(), "");
    pending.waitForFinished(10000);
}

TEST(SimControl, SilencesAPrefixOrTheWholeDevice) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    ASSERT_EQ(sim.control("silence devMib.4"), "ok");
    EXPECT_TRUE(tool(sim, "snmpget", SimDevice::v2c(), {kSysDescr, kFirmware}, 0.3)
                    .err.contains("Timeout"));
    EXPECT_EQ(tool(sim, "snmpget", SimDevice::v2c(), {kSysDescr}).exitCode, 0);
    EXPECT_EQ(sim.requests().first()["refused"].toString(), "silenced");
    ASSERT_EQ(sim.control("clear"), "ok 1");

    // 3 s: time enough for the tool to start and ask within the silence on a busy machine.
    ASSERT_EQ(sim.control("silent 3"), "ok");
    QElapsedTimer silence; // the device fell silent before it answered
    silence.start();
    EXPECT_TRUE(tool(sim, "snmpget", SimDevice::v2c(), {kSysDescr}, 0.3).err.contains("Timeout"));
    // The silence ends by itself, with nobody asking in between.
    QThread::msleep(static_cast<unsigned long>(std::max<qint64>(0, 3050 - silence.elapsed())));
    EXPECT_EQ(tool(sim, "snmpget", SimDevice::v2c(), {kSysDescr}).exitCode, 0);
}

TEST(SimControl, ChangesObjectsAndRefusesBadCommands) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    // set: the device's own value, in effect at once.
    EXPECT_EQ(sim.control("set devMib.4.1.1.1.0 \"v2.61 beta\""), "ok");
    EXPECT_EQ(tool(sim, "snmpget", SimDevice::v2c(), {kFirmware}).out,
              "." + kFirmware + " = STRING: \"v2.61 beta\"\n");
    // define and remove objects.
    EXPECT_EQ(sim.control("define devMib.8.1.0 gauge32 ro 42"), "ok");
    EXPECT_EQ(tool(sim, "snmpget", SimDevice::v2c(), {kDevMib + ".8.1.0"}).out,
              "." + kDevMib + ".8.1.0 = Gauge32: 42\n");
    EXPECT_EQ(sim.control("remove devMib.8.1.0"), "ok");
    EXPECT_TRUE(tool(sim, "snmpget", SimDevice::v2c(), {kDevMib + ".8.1.0"})
                    .out.contains("No Such Object"));

    const char* refused[] = {
        "frobnicate",
        "get devMib.77.0",
        "set devMib.1.1.1.3.1 eleven",
        "set devMib.1.2.4.0 300.1.1.1",
        "define devMib.8.2.0 integer rw 5 range=6..9",
        "define devMib.8.2.0 float rw 5",
        "error devMib.4 0",
        "delay devMib.4 -5",
        "silence devMib.4 sometimes",
        "silent 0",
        "remove devMib.77.0",
    };
    for (const char* command : refused)
        EXPECT_TRUE(sim.control(command).startsWith("error ")) << command;
    // None of them changed anything.
    EXPECT_EQ(sim.value(kChannel)["value"].toString(), "6");
    EXPECT_EQ(sim.value(kGateway)["value"].toString(), "127.0.0.254");
    EXPECT_EQ(sim.value("devMib.8.2.0"), QJsonObject());
}

TEST(SimControl, IsUsableFromAShell) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    auto run = [&](const QStringList& args) {
        QProcess p;
        p.start(kwtest::simPath(), QStringList{"--control", sim.endpoint()} << args);
        p.waitForFinished(10000);
        return std::pair{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
    };
    EXPECT_EQ(run({"ping"}), std::pair(0, QString("ok pong\n")));
    EXPECT_EQ(
        run({"get", "devMib.5.1.0"}),
        std::pair(0, QString("ok {\"syntax\":\"integer\",\"value\":\"0\",\"active\":\"0\"}\n")));
    EXPECT_EQ(run({"nonsense"}).first, 1);
    EXPECT_EQ(run({"quit"}), std::pair(0, QString("ok\n")));
    EXPECT_TRUE(SimDevice::waitUntil([&] { return !sim.running(); }, 5000));
}

} // namespace
