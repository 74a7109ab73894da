// Profiles and the command line of the simulated device: what a profile can say, and that a
// faulty one is refused with the file and line named.
#include "platform/qv_ini.h"
#include "platform/registry.h"
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using kwtest::runSnmpTool;
using kwtest::SimDevice;

namespace {

const QString kDevMib = "1.3.6.1.4.1.32473.1";

QString writeFile(const QTemporaryDir& dir, const QString& name, const QString& text) {
    QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(text.toUtf8());
    return path;
}

struct BadProfile {
    const char* line;
    const char* message;
};

TEST(SimProfile, RefusesAFaultyProfileNamingFileAndLine) {
    const BadProfile cases[] = {
        {"devMib.1.0 integr ro 5", "bad syntax \"integr\""},
        {"devMib.1.0 integer read 5", "bad access \"read\""},
        {"devMib.1.0 integer ro five", "value \"five\" does not fit integer"},
        {"devMib.1.0 integer ro 2147483648", "does not fit integer"},
        {"devMib.1.0 ipaddress ro 10.0.0.256", "does not fit ipaddress"},
        {"devMib.1.0 hex ro 0F0", "does not fit hex"},
        {"devMib.1.0 integer ro 7 range=1..5", "outside its own range"},
        {"devMib.1.0 string ro \"toolong\" size=0..3", "outside its own range"},
        {"devMib.1.0 integer ro 1 range=5..1", "empty range"},
        {"devMib.1.0 integer ro 1 sometimes", "unknown option \"sometimes\""},
        {"devMib.1.0 string ro \"open", "unterminated quoted text"},
        {"1 integer ro 1", "bad OID"},
        {"devMib.1.0 integer ro", "expected OID SYNTAX ACCESS VALUE"},
        {"include missing.inc", "missing.inc: cannot open"},
        {"remove devMib.42.0", "remove needs one defined OID"},
        {"community admin secret", "community read|write NAME"},
        {"user short MD5 1234567", "at least 8 characters"},
        {"user odd MD4 kw9100-auth", "must be MD5|SHA|SHA-224|SHA-256|SHA-384|SHA-512"},
        {"user odd SHA-256 kw9100-auth AES-512 kw9100-priv", "must be DES|AES|AES-192|AES-256"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        QString path = writeFile(dir, "bad.profile", QString("# a comment\n\n%1\n").arg(c.line));
        QProcess p;
        p.start(kwtest::simPath(), {"--listen", "127.0.0.1:1", "--profile", path});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 2);
        QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(err.contains(path + ": line 3: ")) << err.toStdString();
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
    }
}

TEST(SimProfile, RefusesABadCommandLine) {
    const QStringList cases[] = {
        {"--profile", "recent"},
        {"--listen", "127.0.0.1"},
        {"--listen", "127.0.0.1:x"},
        {"--listen", "127.0.0.1:1", "--profile", "no-such-profile"},
        {"--listen", "127.0.0.1:1", "--restart-seconds", "-1"},
        {"--listen", "127.0.0.1:1", "--user", "name:MD5:short"},
        {"--listen", "127.0.0.1:1", "--frobnicate"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        QProcess p;
        p.start(kwtest::simPath(), args);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 2);
        EXPECT_TRUE(p.readAllStandardError().startsWith("kw9100-sim: "));
    }
}

TEST(SimProfile, IncludesOverridesAndRemovesAndFollowsTheListenAddress) {
    QTemporaryDir dir;
    writeFile(dir, "parent.inc",
              "community read alpha\n"
              "devMib.1.1.0  integer   ro  1\n"
              "devMib.1.2.0  integer   ro  2\n"
              "devMib.1.3.0  ipaddress ro  ${listen}\n");
    QString path = writeFile(dir, "child.profile",
                             "include parent.inc\n"
                             "community write beta\n"
                             "devMib.1.1.0  string  ro  \"over\\x41ridden\\t!\"\n"
                             "remove devMib.1.2.0\n"
                             "devMib.1.4.0  hex     ro  \"00 0F 3D\"\n");
    kwtest::SimOptions options(path);
    options.address = "127.0.0.2";
    SimDevice sim(options);
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    auto r = runSnmpTool("snmpwalk", sim.toolArgs(SimDevice::v2c("alpha")) << "1");
    EXPECT_EQ(r.out, "." + kDevMib + ".1.1.0 = STRING: \"overAridden\t!\"\n." + kDevMib +
                         ".1.3.0 = IpAddress: 127.0.0.2\n." + kDevMib +
                         ".1.4.0 = Hex-STRING: 00 0F 3D \n." + kDevMib +
                         ".1.4.0 = No more variables left in this MIB View (It is past the end of "
                         "the MIB tree)\n");
    // The profile's communities replace the defaults.
    auto old =
        runSnmpTool("snmpget", sim.toolArgs(SimDevice::v2c("fenrow"), 0.3) << kDevMib + ".1.1.0");
    EXPECT_TRUE(old.err.contains("Timeout"));
    auto write = runSnmpTool("snmpget", sim.toolArgs(SimDevice::v2c("beta")) << kDevMib + ".1.1.0");
    EXPECT_EQ(write.exitCode, 0);
}

TEST(SimProfile, TakesCommunitiesAndUsersFromTheCommandLine) {
    kwtest::SimOptions options;
    options.extraArgs =
        QStringList{"--read-community", "looker", "--write-community",
                    "writer",           "--user", "operator:SHA:operator-pass:AES:operator-priv"};
    SimDevice sim(options);
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    const QString sysName = "1.3.6.1.2.1.1.5.0";
    EXPECT_EQ(runSnmpTool("snmpget", sim.toolArgs(SimDevice::v1("looker")) << sysName).exitCode, 0);
    EXPECT_EQ(runSnmpTool("snmpset", sim.toolArgs(SimDevice::v2c("writer")) << sysName << "s"
                                                                            << "x")
                  .exitCode,
              0);
    EXPECT_TRUE(runSnmpTool("snmpget", sim.toolArgs(SimDevice::v2c("fenrow"), 0.3) << sysName)
                    .err.contains("Timeout"));
    auto v3 = runSnmpTool("snmpget",
                          sim.toolArgs({"-v3", "-u", "operator", "-l", "authPriv", "-a", "SHA",
                                        "-A", "operator-pass", "-x", "AES", "-X", "operator-priv"})
                              << sysName);
    EXPECT_EQ(v3.out, ".1.3.6.1.2.1.1.5.0 = STRING: \"x\"\n") << v3.err.toStdString();
    // The profile's own users remain.
    EXPECT_EQ(runSnmpTool("snmpget", sim.toolArgs(SimDevice::v3("kwmd5des")) << sysName).exitCode,
              0);
}

TEST(SimProfile, RefusesAPortThatIsTaken) {
    SimDevice first;
    ASSERT_TRUE(first.ok()) << first.error().toStdString();
    QProcess second;
    second.start(kwtest::simPath(), {"--listen", first.endpoint(), "--profile", "recent"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 3);
    EXPECT_TRUE(second.readAllStandardError().contains("cannot listen on udp:" +
                                                       first.endpoint().toUtf8()));
}

TEST(SimProfile, WritesTheFilesThroughWhichTheModuleFindsIt) {
    SimDevice sim;
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    QTemporaryDir dir;
    const struct {
        int version;
        const char* level;
        const char* user;
        const char* auth;
    } cases[] = {{1, "0", "", "0"}, {3, "2", "kwshades", "2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        QString registryPath = sim.writeModuleFiles(dir.path(), c.version, "kwshades");
        // Read back the way the module reads them.
        auto registry = platform::makeIniRegistry(registryPath);
        auto deviceDir = registry->readString("\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile", "Path");
        ASSERT_TRUE(deviceDir.has_value());
        EXPECT_EQ(*deviceDir, dir.path() + "/");
        auto help =
            registry->readString("\\SOFTWARE\\Velkor\\Modules\\HelpPath", "1.3.6.1.4.1.32473.2.20");
        ASSERT_TRUE(help.has_value());
        EXPECT_EQ(help->chopped(12), dir.path() + "/help/");
        QvIni ini(*deviceDir + "127.0.0.1.cfg");
        const QString section = "Program Information";
        EXPECT_EQ(ini.ReadString(section, "AgentPort", ""), QString::number(sim.port()));
        EXPECT_EQ(ini.ReadString(section, "Version", ""), QString::number(c.version));
        EXPECT_EQ(ini.ReadString(section, "SecurityLevel", ""), c.level);
        EXPECT_EQ(ini.ReadString(section, "SecurityName", ""), c.user);
        EXPECT_EQ(ini.ReadString(section, "AuthProtocol", ""), c.auth);
        for (const char* key : {"SecurityModel", "PrivProtocol"})
            EXPECT_FALSE(ini.ReadString(section, key, "").isEmpty()) << key;
    }
}

} // namespace
