// The simulated device as a plain SNMP agent, seen through net-snmp's own command-line tools:
// versions and credentials, refusals, GET-NEXT order and all-or-nothing SETs.
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>
#include <QHostAddress>
#include <QJsonArray>
#include <QUdpSocket>

using kwtest::runSnmpTool;
using kwtest::SimDevice;

namespace {

const QString kSysDescr = "1.3.6.1.2.1.1.1.0";
const QString kSysObjectId = "1.3.6.1.2.1.1.2.0";
const QString kSysName = "1.3.6.1.2.1.1.5.0";
const QString kDevMib = "1.3.6.1.4.1.32473.1";
const QString kIpAddress = kDevMib + ".1.2.2.0";
const QString kMask = kDevMib + ".1.2.3.0";
const QString kSsid = kDevMib + ".1.1.1.1.1";
const QString kChannel = kDevMib + ".1.1.1.3.1";
const QString kFirmware = kDevMib + ".4.1.1.1.0";
const QString kLastObject = kDevMib + ".99.1.1.56.0"; // the last object of the recent profile

kwtest::ToolResult tool(const SimDevice& sim, const QString& name, const QStringList& credentials,
                        const QStringList& rest) {
    return runSnmpTool(name, sim.toolArgs(credentials) << rest);
}

// Lexicographic comparison of dotted OIDs, arc by arc.
bool oidLess(const QString& a, const QString& b) {
    auto x = a.split('.', Qt::SkipEmptyParts);
    auto y = b.split('.', Qt::SkipEmptyParts);
    for (int i = 0; i < std::min(x.size(), y.size()); ++i)
        if (x[i].toULongLong() != y[i].toULongLong())
            return x[i].toULongLong() < y[i].toULongLong();
    return x.size() < y.size();
}

QStringList walkOids(const QString& output) {
    QStringList oids;
    for (const auto& line : output.split('\n', Qt::SkipEmptyParts))
        if (line.startsWith('.') && !line.contains("No more variables left"))
            oids << line.section(" = ", 0, 0).mid(1);
    return oids;
}

struct Credentials {
    const char* name;
    QStringList args;
    const char* journalKey; // "community" or "user"
    const char* journalValue;
};

TEST(SimSnmp, AnswersGetsOverEveryVersionAndCredential) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    const Credentials cases[] = {
        {"v1 read community", SimDevice::v1(), "community", "fenrow"},
        {"v1 write community", SimDevice::v1("quillet"), "community", "quillet"},
        {"v2c read community", SimDevice::v2c(), "community", "fenrow"},
        {"v2c write community", SimDevice::v2c("quillet"), "community", "quillet"},
        {"v3 MD5/DES", SimDevice::v3("kwmd5des"), "user", "kwmd5des"},
        {"v3 SHA/DES", SimDevice::v3("kwshades"), "user", "kwshades"},
        {"v3 SHA/AES", SimDevice::v3("kwshaaes"), "user", "kwshaaes"},
        {"v3 MD5 without privacy", SimDevice::v3("kwmd5"), "user", "kwmd5"},
        {"v3 SHA-512/AES-256", SimDevice::v3("kwsha512aes256"), "user", "kwsha512aes256"},
        {"v3 SHA-224/AES-192", SimDevice::v3("kwsha224aes192"), "user", "kwsha224aes192"},
        {"v3 MD5/AES-256", SimDevice::v3("kwmd5aes256"), "user", "kwmd5aes256"},
        {"v3 SHA-256 without privacy", SimDevice::v3("kwsha256"), "user", "kwsha256"},
    };
    const QString expected =
        ".1.3.6.1.2.1.1.1.0 = STRING: \"KW-9100 IEEE 802.11g Wireless Access Point, firmware "
        "v2.50\"\n"
        ".1.3.6.1.2.1.1.2.0 = OID: .1.3.6.1.4.1.32473.2.20\n"
        ".1.3.6.1.4.1.32473.1.1.2.2.0 = IpAddress: 127.0.0.1\n"
        ".1.3.6.1.4.1.32473.1.1.2.3.0 = IpAddress: 255.0.0.0\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = tool(sim, "snmpget", c.args, {kSysDescr, kSysObjectId, kIpAddress, kMask});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, expected);
        auto last = sim.requests().last();
        EXPECT_EQ(last["op"].toString(), "get");
        EXPECT_EQ(last[c.journalKey].toString(), c.journalValue);
        EXPECT_FALSE(last.contains("refused"));
    }
    // Nothing printed, not even at the end (sanitizer and leak reports included).
    sim.stop();
    EXPECT_EQ(sim.errors(), "");
}

struct Refusal {
    const char* name;
    const char* tool;
    QStringList args;
    QStringList oids;
    const char* expectedText; // in the tool's output or error output
};

TEST(SimSnmp, RefusesWhatItMust) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    const QString longSsid(33, 'x');
    const Refusal cases[] = {
        {"wrong community, v1", "snmpget", SimDevice::v1("nobody"), {kSysDescr}, "Timeout"},
        {"wrong community, v2c", "snmpget", SimDevice::v2c("nobody"), {kSysDescr}, "Timeout"},
        {"set with the read community",
         "snmpset",
         SimDevice::v2c(),
         {kSysName, "s", "x"},
         "Timeout"},
        {"v3 wrong authentication pass phrase",
         "snmpget",
         SimDevice::v3("kwshades", "not-the-pass"),
         {kSysDescr},
         "Authentication failure"},
        {"v3 unknown user", "snmpget", SimDevice::v3("nobody"), {kSysDescr}, "Unknown user name"},
        {"read-only object, v2c",
         "snmpset",
         SimDevice::v2c("quillet"),
         {kFirmware, "s", "v9"},
         "notWritable"},
        {"read-only object, v1",
         "snmpset",
         SimDevice::v1("quillet"),
         {kFirmware, "s", "v9"},
         "noSuchName"},
        {"wrong type, v2c",
         "snmpset",
         SimDevice::v2c("quillet"),
         {kChannel, "s", "6"},
         "wrongType"},
        {"wrong type, v1", "snmpset", SimDevice::v1("quillet"), {kChannel, "s", "6"}, "badValue"},
        {"out of range, v2c",
         "snmpset",
         SimDevice::v2c("quillet"),
         {kChannel, "i", "12"},
         "wrongValue"},
        {"out of range, v1", "snmpset", SimDevice::v1("quillet"), {kChannel, "i", "0"}, "badValue"},
        {"too long, v2c",
         "snmpset",
         SimDevice::v2c("quillet"),
         {kSsid, "s", longSsid},
         "wrongLength"},
        {"absent object set, v2c",
         "snmpset",
         SimDevice::v2c("quillet"),
         {kDevMib + ".77.0", "i", "1"},
         "noCreation"},
        {"absent object get, v2c",
         "snmpget",
         SimDevice::v2c(),
         {kDevMib + ".77.0"},
         "No Such Object"},
        {"absent instance get, v2c",
         "snmpget",
         SimDevice::v2c(),
         {kDevMib + ".1.2.2.1"},
         "No Such Instance"},
        {"absent object get, v1", "snmpget", SimDevice::v1(), {kDevMib + ".77.0"}, "noSuchName"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = tool(sim, c.tool, c.args, c.oids);
        EXPECT_TRUE((r.out + r.err).contains(c.expectedText)) << (r.out + r.err).toStdString();
    }
    // Nothing was changed by any of them.
    EXPECT_EQ(sim.value(kChannel)["value"].toString(), "6");
    EXPECT_EQ(sim.value(kSsid)["value"].toString(), "KW9100");
    EXPECT_EQ(sim.value(kSysName)["value"].toString(), "KW-9100");
    EXPECT_EQ(sim.value(kIpAddress)["value"].toString(), "127.0.0.1");
    // The requests that reached the agent but were not admitted are journalled as refused.
    int refused = 0;
    for (const auto& line : sim.requests())
        refused += line["refused"].toString() == "community";
    EXPECT_EQ(refused, 3);
}

TEST(SimSnmp, WalksTheWholeTreeInOrderOverEveryVersion) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    auto v2 = tool(sim, "snmpwalk", SimDevice::v2c(), {"1"});
    auto v1 = tool(sim, "snmpwalk", SimDevice::v1(), {"1"});
    auto v3 = tool(sim, "snmpwalk", SimDevice::v3("kwmd5des"), {"1"});
    ASSERT_EQ(v2.exitCode, 0) << v2.err.toStdString();
    EXPECT_EQ(v1.exitCode, 0) << v1.err.toStdString();
    auto oids = walkOids(v2.out);
    ASSERT_GT(oids.size(), 40);
    EXPECT_EQ(oids.first(), kSysDescr);
    EXPECT_EQ(oids.last(), kLastObject);
    for (int i = 1; i < oids.size(); ++i)
        EXPECT_TRUE(oidLess(oids[i - 1], oids[i]))
            << oids[i - 1].toStdString() << " then " << oids[i].toStdString();
    // The v1 walk ends on noSuchName without an error, and all versions see the same objects.
    EXPECT_EQ(walkOids(v1.out), oids);
    EXPECT_EQ(walkOids(v3.out), oids);
    // One GET-NEXT per object plus the one past the end.
    EXPECT_EQ(sim.requests("getnext").size(), 3 * (oids.size() + 1));
}

TEST(SimSnmp, GetNextWithSeveralVarbindsAnswersEachInPlace) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    auto r =
        tool(sim, "snmpgetnext", SimDevice::v2c(),
             {kSysDescr, kIpAddress, "1.3.6.1.2.1.1", kDevMib + ".1.2.2", kDevMib + ".1.1.1.1"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, ".1.3.6.1.2.1.1.2.0 = OID: .1.3.6.1.4.1.32473.2.20\n"
                     ".1.3.6.1.4.1.32473.1.1.2.3.0 = IpAddress: 255.0.0.0\n"
                     ".1.3.6.1.2.1.1.1.0 = STRING: \"KW-9100 IEEE 802.11g Wireless Access Point, "
                     "firmware v2.50\"\n"
                     ".1.3.6.1.4.1.32473.1.1.2.2.0 = IpAddress: 127.0.0.1\n"
                     ".1.3.6.1.4.1.32473.1.1.1.1.1.1 = STRING: \"KW9100\"\n");
    // Past the last object: endOfMibView in v2c, noSuchName at the right index in v1.
    auto end2 = tool(sim, "snmpgetnext", SimDevice::v2c(), {kSysDescr, kLastObject});
    EXPECT_TRUE(end2.out.contains(kLastObject + " = No more variables left"))
        << end2.out.toStdString();
    auto end1 = tool(sim, "snmpgetnext", SimDevice::v1(), {kSysDescr, kLastObject});
    EXPECT_TRUE(end1.err.contains("noSuchName")) << end1.err.toStdString();
    EXPECT_TRUE(end1.err.contains("Failed object: ." + kLastObject)) << end1.err.toStdString();
}

struct SetCase {
    const char* name;
    QStringList varbinds;
    QString failedObject; // empty: the SET succeeds
    const char* error;
};

TEST(SimSnmp, SetsAllOrNothingNamingTheFailedVarbind) {
    const SetCase cases[] = {
        {"second of three out of range",
         {kSysName, "s", "renamed", kChannel, "i", "99", kSsid, "s", "other"},
         kChannel,
         "wrongValue"},
        {"last of three read-only",
         {kSysName, "s", "renamed", kSsid, "s", "other", kFirmware, "s", "v9"},
         kFirmware,
         "notWritable"},
        {"first of two absent",
         {kDevMib + ".1.9.0", "i", "1", kSysName, "s", "renamed"},
         kDevMib + ".1.9.0",
         "noCreation"},
        {"all three fine",
         {kSysName, "s", "renamed", kChannel, "i", "11", kSsid, "s", "other"},
         "",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDevice sim;
        ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
        auto r = tool(sim, "snmpset", SimDevice::v2c("quillet"), c.varbinds);
        if (c.failedObject.isEmpty()) {
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_EQ(sim.value(kSysName)["value"].toString(), "renamed");
            EXPECT_EQ(sim.value(kChannel)["value"].toString(), "11");
            EXPECT_EQ(sim.value(kSsid)["value"].toString(), "other");
            continue;
        }
        EXPECT_TRUE(r.err.contains(c.error)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("Failed object: ." + c.failedObject + "\n"))
            << r.err.toStdString();
        EXPECT_EQ(sim.value(kSysName)["value"].toString(), "KW-9100");
        EXPECT_EQ(sim.value(kChannel)["value"].toString(), "6");
        EXPECT_EQ(sim.value(kSsid)["value"].toString(), "KW9100");
    }
}

TEST(SimSnmp, AnswersASetWithoutVarbindsWithNoError) {
    // The tools refuse to send such a SET, so the request is written out here: SNMPv2c,
    // community "quillet", SetRequest with request id 42 and an empty varbind list.
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    QByteArray set = QByteArray::fromHex("301902010104077175696c6c6574a30b02012a0201000201003000");
    QByteArray expected = set;
    expected[14] = '\xa2'; // the same PDU as a response: noError, index 0, no varbinds
    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress::LocalHost, 0));
    socket.writeDatagram(set, QHostAddress(sim.address()), sim.port());
    ASSERT_TRUE(SimDevice::waitUntil([&] { return socket.hasPendingDatagrams(); }, 3000));
    QByteArray answer(static_cast<int>(socket.pendingDatagramSize()), '\0');
    socket.readDatagram(answer.data(), answer.size());
    EXPECT_EQ(answer.toHex(), expected.toHex());
    auto sets = sim.requests("set");
    ASSERT_EQ(sets.size(), 1);
    EXPECT_TRUE(sets[0]["varbinds"].toArray().isEmpty());
}

TEST(SimSnmp, AnswersOneValueAtTwoInstancesWhenTheProfileSaysSo) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    ASSERT_TRUE(sim.command("define devMib.7.1.0 integer rw 5 range=0..9 now also=devMib.7.1.1"));
    auto set = tool(sim, "snmpset", SimDevice::v2c("quillet"), {kDevMib + ".7.1.1", "i", "8"});
    EXPECT_EQ(set.exitCode, 0) << set.err.toStdString();
    auto get = tool(sim, "snmpget", SimDevice::v2c(), {kDevMib + ".7.1.0", kDevMib + ".7.1.1"});
    EXPECT_EQ(get.out, ".1.3.6.1.4.1.32473.1.7.1.0 = INTEGER: 8\n"
                       ".1.3.6.1.4.1.32473.1.7.1.1 = INTEGER: 8\n");
}

} // namespace
