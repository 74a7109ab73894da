#include "app/startup.h"
#include "platform/registry.h"
#include "snmplib/messages.h"
#include "tests/support/files.h"
#include "tests/support/sim_fixture.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

namespace {

// The three records as the session creation leaves them.
struct Params {
    QvSNMPDevice device{"127.0.0.1", 161};
    QvSNMPScope scope;
    QvSNMPSecurity security{0, "fenrow", "quillet", 1, 1, {}, {}, {}, 1, 1, {}, {}};

    app::SessionRecords records() { return {device, scope, security}; }
};

std::string describe(const Params& p) {
    const auto& s = p.security;
    return QStringLiteral("address=%1 port=%2 contextEngineId=%3 contextName=%4 version=%5 "
                          "read=%6 write=%7 model=%8 level=%9 name=%10 authPw=%11 privPw=%12 "
                          "auth=%13 priv=%14")
        .arg(p.device.address)
        .arg(p.device.port)
        .arg(p.scope.contextEngineId, p.scope.contextName)
        .arg(s.version)
        .arg(s.readCommunity, s.writeCommunity)
        .arg(s.securityModel)
        .arg(s.securityLevel)
        .arg(s.securityName, s.authPassword, s.privPassword)
        .arg(s.authProtocol)
        .arg(s.privProtocol)
        .toStdString();
}

struct ArgCase {
    const char* title;
    QStringList arguments;
    QString addressText;              // expected
    std::function<void(Params&)> set; // expected changes to the defaults
};

// A device file with every key, as the host writes it; `extra` lines override by coming first.
QByteArray deviceFile(const QByteArray& extra = {}) {
    return "[Program Information]\n" + extra +
           "AgentPort=161\nVersion=0\nContextName=\nContextEngineID=\nSecurityModel=1\n"
           "SecurityLevel=0\nSecurityName=\nAuthProtocol=0\nPrivProtocol=0\n"
           "AuthPassword=\nPrivPassword=\n";
}

void runCases(const std::vector<ArgCase>& cases, const QString& deviceFileDir) {
    for (const auto& c : cases) {
        Params actual;
        const QString address = app::applyArguments(c.arguments, deviceFileDir, actual.records());
        Params expected;
        c.set(expected);
        EXPECT_EQ(describe(actual), describe(expected)) << c.title;
        EXPECT_EQ(address, c.addressText) << c.title;
    }
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        deviceDir = dir.path() + "/";
    }
    QTemporaryDir dir;
    QString deviceDir;
};

TEST_F(CommandLine, SwitchesWithoutADeviceFile) {
    runCases(
        {
            {"address only",
             {"/I10.0.0.5"},
             "10.0.0.5",
             [](Params& p) { p.device.address = "10.0.0.5"; }},
            {"SNMPv3 on another port",
             {"/I10.0.0.5", "/v3", "/t1161", "/l2", "/a1", "/p1", "/nadmin"},
             "10.0.0.5",
             [](Params& p) {
                 p.device.address = "10.0.0.5";
                 p.security.version = 3;
                 p.device.port = 1161;
                 p.security.securityLevel = 3;
                 p.security.authProtocol = 2;
                 p.security.privProtocol = 2;
                 p.security.securityName = "admin";
             }},
            {"SNMPv3 with HMAC-SHA-256 and AES-256, the module's own codes",
             {"/I10.0.0.5", "/v3", "/l2", "/a4", "/p20", "/nadmin"},
             "10.0.0.5",
             [](Params& p) {
                 p.device.address = "10.0.0.5";
                 p.security.version = 3;
                 p.security.securityLevel = 3;
                 p.security.authProtocol = 5;
                 p.security.privProtocol = 21;
                 p.security.securityName = "admin";
             }},
            {"HMAC-SHA-224, HMAC-SHA-512, AES-128 and AES-192 by code",
             {"/v3", "/a3", "/p18", "/a6", "/p19"},
             "",
             [](Params& p) {
                 p.security.version = 3;
                 p.security.authProtocol = 7;
                 p.security.privProtocol = 20;
             }},
            {"port needs version 3",
             {"/I10.0.0.5", "/t1161"},
             "10.0.0.5",
             [](Params& p) { p.device.address = "10.0.0.5"; }},
            {"every version-3 switch ignored under SNMPv2c",
             {"/v1", "/cctx", "/dengine", "/m3", "/l2", "/nuser", "/Aauth", "/Ppriv", "/a1", "/p1",
              "/t99"},
             "",
             [](Params& p) { p.security.version = 1; }},
            {"every version-3 switch honoured",
             {"/v3", "/cctx", "/dengine", "/m3", "/l0", "/nuser", "/Aauth", "/Ppriv", "/a2", "/p8",
              "/t1161"},
             "",
             [](Params& p) {
                 p.security.version = 3;
                 p.scope.contextName = "ctx";
                 p.scope.contextEngineId = "engine";
                 p.security.securityModel = 3;
                 p.security.securityLevel = 1;
                 p.security.securityName = "user";
                 p.security.authPassword = "auth";
                 p.security.privPassword = "priv";
                 p.security.authProtocol = 3;
                 p.security.privProtocol = 9;
                 p.device.port = 1161;
             }},
            {"switch found anywhere in the argument",
             {"x/I10.0.0.7"},
             "10.0.0.7",
             [](Params& p) { p.device.address = "10.0.0.7"; }},
            {"/R before /W keeps the rest as its value",
             {"/Rpub/Wpriv"},
             "",
             [](Params& p) { p.security.readCommunity = "pub/Wpriv"; }},
            {"/I wins over /W in the same argument",
             {"/Wx/I10.0.0.8"},
             "10.0.0.8",
             [](Params& p) { p.device.address = "10.0.0.8"; }},
            {"table order, not position: /v before /t",
             {"/v3", "/t/v1"},
             "",
             [](Params& p) { p.security.version = 1; }},
            {"table order: /R before /n, empty value",
             {"/v3", "/n/R"},
             "",
             [](Params& p) {
                 p.security.version = 3;
                 p.security.readCommunity = "";
             }},
            {"value follows the first occurrence",
             {"/R/Rx"},
             "",
             [](Params& p) { p.security.readCommunity = "/Rx"; }},
            {"/p is the privacy protocol",
             {"/v3", "/p1"},
             "",
             [](Params& p) {
                 p.security.version = 3;
                 p.security.privProtocol = 2;
             }},
            {"/P is the privacy pass phrase",
             {"/v3", "/P1"},
             "",
             [](Params& p) {
                 p.security.version = 3;
                 p.security.privPassword = "1";
             }},
            {"/a is the protocol, /A the pass phrase",
             {"/v3", "/a2", "/A2"},
             "",
             [](Params& p) {
                 p.security.version = 3;
                 p.security.authProtocol = 3;
                 p.security.authPassword = "2";
             }},
            {"switches are case-sensitive", {"/i10.0.0.5", "/r", "/V3"}, "", [](Params&) {}},
            {"later /I replaces the address",
             {"/I10.0.0.1", "/I10.0.0.2"},
             "10.0.0.2",
             [](Params& p) { p.device.address = "10.0.0.2"; }},
            {"/I with a host name and an empty /W",
             {"/Iap-lobby.example", "/W"},
             "ap-lobby.example",
             [](Params& p) {
                 p.device.address = "ap-lobby.example";
                 p.security.writeCommunity = "";
             }},
            {"explicit sign",
             {"/v+3", "/t+0"},
             "",
             [](Params& p) {
                 p.security.version = 3;
                 p.device.port = 0;
             }},
            {"version 3 ended by a later /v", {"/v3", "/v0", "/nadmin"}, "", [](Params&) {}},
            {"a bad value of an ignored switch is not read",
             {"/tabc", "/l", "/p-"},
             "",
             [](Params&) {}},
        },
        deviceDir);
}

// The process list shows the pass-phrase switches without their values: argv as the system lays
// it out (one text after the other), read and then cut down.
TEST(TakeArguments, ReadsTheCommandLineThenCutsThePassPhrasesFromItsMemory) {
    const std::vector<QByteArray> given = {
        "/usr/bin/kw9100",
        "/I10.0.0.5",
        "/v3",
        "/Asecretauth99",
        "/l2",
        "x/Psecretpriv99",
        "/Rpub/Akeep", // classified as "/R": a community, not a pass phrase
        "/a4",
        "/p20",
        "/P",
    };
    QByteArray area;
    for (const QByteArray& a : given)
        area += a + '\0';
    const QByteArray before = area;
    std::vector<char*> argv;
    for (qsizetype at = 0; at < area.size(); at += qstrlen(area.constData() + at) + 1)
        argv.push_back(area.data() + at);

    const QStringList arguments = app::takeArguments(static_cast<int>(argv.size()), argv.data());

    QStringList expected;
    for (std::size_t i = 1; i < given.size(); ++i)
        expected << QString::fromLatin1(given[i]);
    EXPECT_EQ(arguments, expected);
    const char shownText[] = "/usr/bin/kw9100\0/I10.0.0.5\0/v3\0/A\0/l2\0x/P\0/Rpub/Akeep\0"
                             "/a4\0/p20\0/P\0";
    const QByteArray shown(shownText, sizeof shownText - 1);
    EXPECT_EQ(area.left(shown.size()), shown);
    EXPECT_EQ(area.mid(shown.size()), QByteArray(before.size() - shown.size(), '\0'));
    ASSERT_EQ(area.size(), before.size());
    const QStringList after = {argv[3], argv[5], argv[6], argv[9]};
    EXPECT_EQ(after, (QStringList{"/A", "x/P", "/Rpub/Akeep", "/P"}));
}

// The toolkit takes its own options out of argv after the pass phrases have left it; the module
// still gets the texts as the host gave them, in their order.
TEST(TakeArguments, TextsAsGivenOfWhatTheToolkitLeftInArgv) {
    QByteArray area("kw9100\0-platform\0offscreen\0/Asecretauth99\0/I10.0.0.5\0", 53);
    std::vector<char*> argv;
    for (qsizetype at = 0; at < area.size(); at += qstrlen(area.constData() + at) + 1)
        argv.push_back(area.data() + at);
    ASSERT_EQ(argv.size(), 5u);
    app::CommandLine commandLine(5, argv.data());
    EXPECT_STREQ(argv[3], "/A");
    argv.erase(argv.begin() + 1, argv.begin() + 3); // as QApplication does with "-platform"
    EXPECT_EQ(commandLine.take(3, argv.data()), (QStringList{"/Asecretauth99", "/I10.0.0.5"}));
    EXPECT_FALSE(area.contains("secret"));
}

TEST_F(CommandLine, DeviceFileIsReadAgainBeforeEverySwitch) {
    ASSERT_TRUE(test::writeFile(deviceDir + "10.0.0.5.cfg",
                                deviceFile("Version=1\nAgentPort=2161\nSecurityName=fileuser\n")));
    ASSERT_TRUE(test::writeFile(deviceDir + "10.0.0.6.cfg",
                                deviceFile("Version=3\nAgentPort=3161\nSecurityModel=3\n"
                                           "SecurityLevel=2\nAuthProtocol=1\nPrivProtocol=8\n"
                                           "SecurityName=  spaced name  \nContextName=fctx\n"
                                           "ContextEngineID=feng\nAuthPassword=fauth\n"
                                           "PrivPassword=fpriv\n")));
    ASSERT_TRUE(test::writeFile(deviceDir + "10.0.0.7.cfg",
                                deviceFile("Version=3\nSecurityLevel=0\nAuthProtocol=0\n")));
    ASSERT_TRUE(test::writeFile(deviceDir + "10.0.0.8.cfg", deviceFile("Version=3\n")));
    ASSERT_TRUE(test::writeFile(deviceDir + "10.0.0.9.cfg",
                                deviceFile("Version=3\nSecurityLevel=2\nAuthProtocol=6\n"
                                           "PrivProtocol=20\n")));
    const auto fileSix = [](Params& p) {
        p.device.address = "10.0.0.6";
        p.device.port = 3161;
        p.security.version = 3;
        p.security.securityModel = 3;
        p.security.securityLevel = 3;
        p.security.authProtocol = 2;
        p.security.privProtocol = 9;
        p.security.securityName = "spaced name";
        p.scope.contextName = "fctx";
        p.scope.contextEngineId = "feng";
        p.security.authPassword = "fauth";
        p.security.privPassword = "fpriv";
    };
    runCases(
        {
            {"the file's version 1 ends /v3 before /t",
             {"/I10.0.0.5", "/v3", "/t1161"},
             "10.0.0.5",
             [](Params& p) {
                 p.device.address = "10.0.0.5";
                 p.security.version = 1;
                 p.device.port = 2161;
                 p.security.securityName = "fileuser";
             }},
            {"HMAC-SHA-512 and AES-256 from the file",
             {"/I10.0.0.9", "ignored"},
             "10.0.0.9",
             [](Params& p) {
                 p.device.address = "10.0.0.9";
                 p.security.version = 3;
                 p.security.securityLevel = 3;
                 p.security.authProtocol = 7;
                 p.security.privProtocol = 21;
             }},
            {"/I alone reads no file",
             {"/I10.0.0.6"},
             "10.0.0.6",
             [](Params& p) { p.device.address = "10.0.0.6"; }},
            {"every key, host codes + 1, values trimmed",
             {"/I10.0.0.6", "ignored"},
             "10.0.0.6",
             fileSix},
            {"a switch is kept when no later argument re-reads its key",
             {"/I10.0.0.6", "/nmine", "/Rread"},
             "10.0.0.6",
             [&](Params& p) {
                 fileSix(p);
                 p.security.readCommunity = "read"; // no file key sets it
             }},
            {"the last switch is kept",
             {"/I10.0.0.6", "/Rread", "/nmine"},
             "10.0.0.6",
             [&](Params& p) {
                 fileSix(p);
                 p.security.readCommunity = "read";
                 p.security.securityName = "mine";
             }},
            {"level, protocols 0 and empty texts leave what is there",
             {"/I10.0.0.7", "/l2", "/a1", "/cswctx", "/dsweng", "/Aswauth", "x"},
             "10.0.0.7",
             [](Params& p) {
                 p.device.address = "10.0.0.7";
                 p.security.version = 3;
                 p.security.securityLevel = 3; // "0" in the file leaves the switch's level
                 p.security.authProtocol = 2;
                 p.scope.contextName = "swctx";      // empty ContextName is not applied
                 p.security.authPassword = "swauth"; // nor an empty AuthPassword
                 // ContextEngineID is applied even when empty
             }},
            {"the file of the address known at each moment",
             {"/I10.0.0.8", "/t1000", "/I10.0.0.5", "/t2000"},
             "10.0.0.5",
             [](Params& p) {
                 p.device.address = "10.0.0.5";
                 p.security.version = 1;
                 p.device.port = 2161; // 10.0.0.5's file re-read before /t2000, which is ignored
                 p.security.securityName = "fileuser";
             }},
        },
        deviceDir);
}

TEST_F(CommandLine, ArgumentBeforeTheAddressReadsTheFileOfAnEmptyAddress) {
    runCases({{"no \".cfg\" file",
               {"/t1161", "/I10.0.0.5"},
               "10.0.0.5",
               [](Params& p) { p.device.address = "10.0.0.5"; }}},
             deviceDir);
    ASSERT_TRUE(test::writeFile(deviceDir + ".cfg", deviceFile("Version=3\n")));
    runCases({{"\".cfg\" file of version 3",
               {"/t1161", "/I10.0.0.5"},
               "10.0.0.5",
               [](Params& p) {
                   p.device.address = "10.0.0.5";
                   p.security.version = 3;
                   p.device.port = 1161;
               }}},
             deviceDir);
}

TEST_F(CommandLine, DeviceFileDirectoryAsTheHostWritesIt) {
    ASSERT_TRUE(test::writeFile(dir.path() + "/Conf/MBF/10.0.0.5.cfg", deviceFile("Version=1\n")));
    QString hostDir = dir.path() + "\\Bin\\..\\CONF\\mbf\\";
    runCases({{"backslashes, \"..\" and other letter cases",
               {"/I10.0.0.5", "x"},
               "10.0.0.5",
               [](Params& p) {
                   p.device.address = "10.0.0.5";
                   p.security.version = 1;
               }}},
             hostDir);
}

struct BadCase {
    QStringList arguments;
    QByteArray file;   // device file of 10.0.0.5, when not empty
    QStringList named; // texts the message must hold
};

TEST_F(CommandLine, ValueThatIsNotADecimalIntegerEndsTheStartUp) {
    const BadCase cases[] = {
        {{"/I10.0.0.5", "/vx"}, {}, {"\"/v\"", "\"x\""}},
        {{"/v"}, {}, {"\"/v\"", "\"\""}},
        {{"/v256"}, {}, {"\"/v\"", "\"256\""}},
        {{"/v3", "/t70000"}, {}, {"\"/t\"", "\"70000\""}},
        {{"/v3", "/t-1"}, {}, {"\"/t\"", "\"-1\""}},
        {{"/v3", "/t 1161"}, {}, {"\"/t\"", "\" 1161\""}},
        {{"/v3", "/l1.5"}, {}, {"\"/l\"", "\"1.5\""}},
        {{"/v3", "/a0x1"}, {}, {"\"/a\"", "\"0x1\""}},
        {{"/v3", "/p+"}, {}, {"\"/p\"", "\"+\""}},
        {{"/v3", "/m99999999999999999999"}, {}, {"\"/m\"", "\"99999999999999999999\""}},
        {{"/v3", QString("/m") + QChar(0x0663)}, {}, {"\"/m\""}}, // a digit, but not 0-9
        {{"/I10.0.0.5", "/Rx"},
         "[Program Information]\nVersion=0\nSecurityModel=1\n",
         {"\"AgentPort\"", "\"\"", "10.0.0.5.cfg"}},
        {{"/I10.0.0.5", "/Rx"}, deviceFile("Version=three\n"), {"\"Version\"", "\"three\""}},
        {{"/I10.0.0.5", "/Rx"},
         deviceFile("SecurityModel=3 x\n"),
         {"\"SecurityModel\"", "\"3 x\""}},
        {{"/I10.0.0.5", "/Rx"},
         "[Program Information]\nAgentPort=161\nVersion=3\nSecurityModel=3\n",
         {"\"SecurityLevel\"", "\"\""}},
        {{"/I10.0.0.5", "/Rx"}, deviceFile("AuthProtocol=md5\n"), {"\"AuthProtocol\"", "\"md5\""}},
        {{"/I10.0.0.5", "/Rx"}, deviceFile("PrivProtocol=-\n"), {"\"PrivProtocol\"", "\"-\""}},
    };
    for (const auto& c : cases) {
        const QString title = c.arguments.join(' ') + " / " + QString::fromUtf8(c.file);
        QFile::remove(deviceDir + "10.0.0.5.cfg");
        if (!c.file.isEmpty()) {
            ASSERT_TRUE(test::writeFile(deviceDir + "10.0.0.5.cfg", c.file));
        }
        Params p;
        try {
            app::applyArguments(c.arguments, deviceDir, p.records());
            ADD_FAILURE() << "accepted: " << title.toStdString();
        } catch (const app::StartupError& e) {
            for (const QString& part : c.named) {
                EXPECT_TRUE(e.text().contains(part))
                    << e.text().toStdString() << " lacks " << part.toStdString();
            }
        }
        EXPECT_EQ(p.security.readCommunity, "fenrow")
            << "applied after the error: " << title.toStdString();
    }
}

// A huge value (or a device file under a huge directory) is quoted by its beginning and end around
// an ellipsis: the message box stays readable, and short values are still quoted whole.
TEST_F(CommandLine, HugeValuesAreQuotedCutWithAnEllipsis) {
    const QString head = QString(48, u'7');
    const QString huge = head + QString(10000, u'x') + "tail-of-value-16";
    const QString longDir = deviceDir + QString(200, u'd') + "/";
    ASSERT_TRUE(QDir().mkpath(longDir));
    ASSERT_TRUE(test::writeFile(longDir + "10.0.0.5.cfg", deviceFile("Version=x\n")));
    struct Case {
        QStringList arguments;
        QString deviceDir;
        QStringList named;
    } cases[] = {
        {{"/v" + huge}, deviceDir, {"\"/v\"", "\"" + head + QChar(0x2026) + "tail-of-value-16\""}},
        {{"/v3", "/t" + huge}, deviceDir, {"\"/t\"", "not a decimal integer"}},
        {{"/v3", "/m1" + QString(10000, u'0')}, deviceDir, {"\"/m\"", "out of range"}},
        {{"/I10.0.0.5", "/Rx"}, longDir, {"\"Version\"", "\"x\"", "10.0.0.5.cfg\""}},
    };
    for (const auto& c : cases) {
        Params p;
        try {
            app::applyArguments(c.arguments, c.deviceDir, p.records());
            ADD_FAILURE() << "accepted: " << c.arguments.join(' ').left(80).toStdString();
        } catch (const app::StartupError& e) {
            EXPECT_LT(e.text().size(), 200) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QChar(0x2026))) << e.text().toStdString();
            for (const QString& part : c.named)
                EXPECT_TRUE(e.text().contains(part))
                    << e.text().toStdString() << " lacks " << part.toStdString();
        }
    }
}

class RegistryValues : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::unique_ptr<platform::Registry> registry(const QByteArray& contents) {
        const QString path = dir.filePath("registry.ini");
        EXPECT_TRUE(test::writeFile(path, contents));
        return platform::makeIniRegistry(path);
    }
    QTemporaryDir dir;
};

TEST_F(RegistryValues, HelpDirectoryIsTheHelpFileLessTwelveCharacters) {
    struct Case {
        QByteArray value; // empty: no value
        QString expected;
    };
    const Case cases[] = {
        {"/srv/help/KW9100HL.HLP", "/srv/help/"},
        {"C:\\Halvren\\Help\\KW9100HL.HLP", "C:\\Halvren\\Help\\"},
        {"/srv/help/kw9100.hlp", "/srv/hel"}, // a shorter name is cut all the same
        {"KW9100HL.HLP", ""},
        {"short", ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        QByteArray file = "[\\SOFTWARE\\Velkor\\Modules\\HelpPath]\n";
        if (!c.value.isEmpty())
            file += "1.3.6.1.4.1.32473.2.20=" + c.value + "\n";
        file += "OtherModule=/elsewhere/OTHERHLP.HLP\n";
        EXPECT_EQ(app::helpDirectory(*registry(file)), c.expected) << c.value.constData();
    }
    EXPECT_EQ(app::helpDirectory(*platform::makeIniRegistry(dir.filePath("none.ini"))), "");
}

TEST_F(RegistryValues, DeviceFileDirectoryFromExePathOrMibFile) {
    const QByteArray exe = "[\\SOFTWARE\\Velkor\\Halvren5.1\\ExePath]\nPath=/opt/halvren/bin/\n";
    const QByteArray mib = "[\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile]\nPath=/srv/mbf/\n";
    const QByteArray mibNoValue = "[\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile]\n";
    EXPECT_EQ(app::deviceFileDirectory(*registry(exe)), "/opt/halvren/bin/..\\Conf\\MBF\\");
    EXPECT_EQ(app::deviceFileDirectory(*registry(exe + mib)), "/srv/mbf/");
    EXPECT_EQ(app::deviceFileDirectory(*registry(mib)), "/srv/mbf/");
    EXPECT_EQ(app::deviceFileDirectory(*registry(exe + mibNoValue)), "");
    EXPECT_EQ(app::deviceFileDirectory(*registry("")), "");
}

class MessageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qv::resetMessageTables();
        exeDir = dir.path() + "/bin/";
        helpDir = dir.path() + "/help/";
    }
    void TearDown() override { qv::resetMessageTables(); }
    QTemporaryDir dir;
    QString exeDir;
    QString helpDir;
};

TEST_F(MessageFiles, EachFileReplacesItsOwnTable) {
    struct File {
        qv::MessageTable table;
        const char* name;
    };
    const File files[] = {
        {qv::MessageTable::SnmpStatus, "snmp.err"}, {qv::MessageTable::SnmpV3, "snmpv3.err"},
        {qv::MessageTable::Usm, "snmpusm.err"},     {qv::MessageTable::SnmpClass, "snmpclass.err"},
        {qv::MessageTable::Library, "qvsnmp.err"},  {qv::MessageTable::StatusTemplate, "snmp.msg"},
        {qv::MessageTable::Common, "common.err"},
    };
    for (const auto& f : files) {
        ASSERT_TRUE(test::writeFile(exeDir + "errmsg/" + f.name, QByteArray("exe ") + f.name));
        ASSERT_TRUE(test::writeFile(helpDir + "ErrMsg/" + f.name, QByteArray("help ") + f.name));
    }
    app::loadMessageFiles(exeDir, app::MessageFileLoad::BesideExecutable);
    for (const auto& f : files) {
        EXPECT_EQ(qv::messageText(f.table, 0), QString("exe ") + f.name);
    }
    app::loadMessageFiles(helpDir, app::MessageFileLoad::FromHelpDirectory);
    for (const auto& f : files) {
        EXPECT_EQ(qv::messageText(f.table, 0), QString("help ") + f.name);
    }
}

TEST_F(MessageFiles, HelpDirectoryWinsAndMissingOrBlankFilesLeaveTheTable) {
    struct Case {
        const char* title;
        QByteArray exeFile;   // bin/errMSg/snmp.err; empty: none
        QByteArray helpFile;  // help/errmsg/snmp.err; empty: none
        const char* expected; // nullptr: the built-in text
    };
    const Case cases[] = {
        {"both", "beside exe\n", "in help\n", "in help"},
        {"only beside the executable", "beside exe\n", {}, "beside exe"},
        {"only in help", {}, "in help\n", "in help"},
        {"blank file in help", "beside exe\n", "\n   \n", "beside exe"},
        {"neither", {}, {}, nullptr},
    };
    const QString builtIn = qv::messageText(qv::MessageTable::SnmpStatus, 0);
    for (const auto& c : cases) {
        qv::resetMessageTables();
        QFile::remove(exeDir + "errMSg/snmp.err");
        QFile::remove(helpDir + "errmsg/snmp.err");
        if (!c.exeFile.isEmpty()) {
            ASSERT_TRUE(test::writeFile(exeDir + "errMSg/snmp.err", c.exeFile));
        }
        if (!c.helpFile.isEmpty()) {
            ASSERT_TRUE(test::writeFile(helpDir + "errmsg/snmp.err", c.helpFile));
        }
        app::loadMessageFiles(exeDir, app::MessageFileLoad::BesideExecutable);
        app::loadMessageFiles(helpDir, app::MessageFileLoad::FromHelpDirectory);
        EXPECT_EQ(qv::messageText(qv::MessageTable::SnmpStatus, 0),
                  c.expected ? QString(c.expected) : builtIn)
            << c.title;
    }
}

TEST_F(MessageFiles, EmptyHelpDirectoryMeansErrmsgUnderTheWorkingDirectory) {
    ASSERT_TRUE(test::writeFile(dir.path() + "/work/ERRMSG/common.err", "from the working dir\n"));
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path() + "/work"));
    app::loadMessageFiles(QString(), app::MessageFileLoad::FromHelpDirectory);
    QDir::setCurrent(saved);
    EXPECT_EQ(qv::messageText(qv::MessageTable::Common, 0), "from the working dir");
}

// The message files the package installs beside the module (app/errMSg/): the built-in texts one
// per line, except the time-out's wording, which the installed class table has without its prefix.
// Common texts are not shipped: a file cannot hold the line breaks of entries 9 to 11.
TEST_F(MessageFiles, ShippedFilesHoldTheBuiltInTextsAndTheInstalledTimeOutWording) {
    struct Shipped {
        qv::MessageTable table;
        const char* name;
        int entries;
    };
    const Shipped shipped[] = {
        {qv::MessageTable::SnmpStatus, "snmp.err", 19},
        {qv::MessageTable::SnmpV3, "snmpv3.err", 17},
        {qv::MessageTable::Usm, "snmpusm.err", 14},
        {qv::MessageTable::SnmpClass, "snmpclass.err", 23},
        {qv::MessageTable::Library, "qvsnmp.err", 29},
        {qv::MessageTable::StatusTemplate, "snmp.msg", 2},
    };
    const QString source = kwtest::sourceDir() + QStringLiteral("/app/");
    for (const auto& f : shipped) {
        QFile file(source + "errMSg/" + f.name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << f.name;
        const QList<QByteArray> lines = file.readAll().split('\n');
        const auto nonBlank = std::count_if(
            lines.begin(), lines.end(), [](const QByteArray& l) { return !l.trimmed().isEmpty(); });
        EXPECT_EQ(nonBlank, f.entries) << f.name;
    }
    QStringList builtIn[std::size(shipped)];
    for (std::size_t t = 0; t < std::size(shipped); ++t)
        for (int i = 0; i < shipped[t].entries; ++i)
            builtIn[t] << qv::messageText(shipped[t].table, i);
    const QString commonBuiltIn = qv::messageText(qv::MessageTable::Common, 9);

    app::loadMessageFiles(source, app::MessageFileLoad::BesideExecutable);
    for (std::size_t t = 0; t < std::size(shipped); ++t) {
        for (int i = 0; i < shipped[t].entries; ++i) {
            const bool timeOut = shipped[t].table == qv::MessageTable::SnmpClass && i == 4;
            EXPECT_EQ(qv::messageText(shipped[t].table, i),
                      timeOut ? QStringLiteral("SNMP request timed out!") : builtIn[t][i])
                << shipped[t].name << " entry " << i;
        }
    }
    EXPECT_EQ(qv::MapResult(-5).code, -405);
    EXPECT_EQ(qv::MapResult(-5).text, "SNMP request timed out!");
    EXPECT_EQ(qv::messageText(qv::MessageTable::Common, 9), commonBuiltIn);
    EXPECT_TRUE(commonBuiltIn.contains(u'\n'));
}

} // namespace
