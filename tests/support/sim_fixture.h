#pragma once
// SimDevice: runs the simulated access point kw9100-sim for a test, on a free loopback port.
//
//   kwtest::SimDevice sim;                       // profile "recent", restart time 1 s
//   ASSERT_TRUE(sim.ok()) << sim.error();         // started and answering
//   sim.endpoint();                               // "127.0.0.1:PORT", for SNMP tools and sessions
//   sim.port();                                   // the UDP port of its agent
//
//   kwtest::SimDevice early({"early", 2});       // profile "early", restart time 2 s
//   kwtest::SimOptions o("recent"); o.tftpPort = 6969; kwtest::SimDevice sim(o);
//   o.profileText = "devMib.1.0 integer rw 5\n";  // a profile of the test's own
//
// Journal (one JSON object per line, see device/journal.h):
//   sim.journal()           every line, parsed
//   sim.requests("set")     PDUs the device received ("op" lines), optionally of one op
//   sim.clearJournal()
//
// Control channel (see device/control.h for the commands):
//   sim.control("silent 3")        the reply line ("ok ..." / "error ..."; "" when unreachable)
//   sim.command("error devMib.4 5") true for an "ok" reply
//   sim.value("devMib.5.1.0")      {"syntax","value","active"[,"pending"]} of an object
//
// net-snmp's command-line tools, with no MIBs, no configuration files and a short time-out:
//   auto r = kwtest::runSnmpTool("snmpget", sim.toolArgs(kwtest::SimDevice::v2c()) << "1.3...");
//   r.exitCode, r.out, r.err
//   credentials: v1(), v2c() (read community), v1(kWriteCommunity), v3("kwshades")...
//
// Files the module reads to find the device (the registry stand-in of KW9100_REGISTRY and the
// device file with AgentPort): sim.writeModuleFiles(dir) returns the registry file's path.
//
// The destructor stops the simulator (and any process it started goes with it).
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <ostream>

// Readable QString values in GoogleTest messages.
#include "tests/support/qt_printers.h"

namespace kwtest {

// The simulator program, the folder of the built programs and the source tree.
QString simPath();
QString binDir();
QString sourceDir();

struct SimOptions {
    SimOptions(QString profileName = "recent", double restart = 1)
        : profile(std::move(profileName)), restartSeconds(restart) {}

    QString profile;               // a name in device/profiles/ (without .profile) or a file path
    QByteArray profileText;        // when set: the profile itself, in place of `profile`
    double restartSeconds;         // how long a restart keeps the device silent
    QString address = "127.0.0.1"; // loopback address to listen on
    int tftpPort = 0;              // the module's TFTP server port; 0: the simulator's default
    QStringList extraArgs;         // further command-line options
};

struct ToolResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs one of net-snmp's tools (snmpget, snmpgetnext, snmpwalk, snmpset...) with `args` and waits
// for it (at most `timeoutMs`). The tools read no MIBs and no configuration files.
ToolResult runSnmpTool(const QString& tool, const QStringList& args, int timeoutMs = 15000);

class SimDevice {
public:
    static constexpr const char* kReadCommunity = "fenrow";
    static constexpr const char* kWriteCommunity = "quillet";
    // SNMPv3 users of the shipped profiles: one per pair of protocols (tests/support/usm_pairs.h),
    // kwmd5des (MD5/DES), kwshades (SHA/DES), kwshaaes (SHA/AES-128), kwmd5 (MD5, authNoPriv)
    // and kwsha256aes256 (SHA-256/AES-256) among them.
    static constexpr const char* kAuthPass = "kw9100-auth";
    static constexpr const char* kPrivPass = "kw9100-priv";

    explicit SimDevice(SimOptions options = {});
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    bool ok() const { return ok_; }
    QString error() const { return error_; }
    // Stops the simulator now; its standard error output stays readable.
    void stop();
    bool running() const;
    // What the simulator wrote to standard error so far (it writes only real errors).
    QString errors();

    QString address() const { return options_.address; }
    quint16 port() const { return port_; }
    QString endpoint() const { return address() + ":" + QString::number(port_); }
    QString journalPath() const;

    QList<QJsonObject> journal() const;
    QList<QJsonObject> requests(const QString& op = {}) const;
    void clearJournal();

    QString control(const QString& command);
    bool command(const QString& command) { return control(command).startsWith("ok"); }
    QJsonObject value(const QString& oid);

    // Polls `predicate` (processing Qt events) until it holds or `timeoutMs` passes.
    static bool waitUntil(const std::function<bool()>& predicate, int timeoutMs);

    // Tool arguments: the common options (-On -Le, no MIBs, time-out 1 s, no retry), the given
    // credentials and the endpoint. Append OIDs (and types and values for snmpset).
    QStringList toolArgs(const QStringList& credentials, double timeoutSeconds = 1) const;
    static QStringList v1(const QString& community = kReadCommunity);
    static QStringList v2c(const QString& community = kReadCommunity);
    static QStringList v3(const QString& user, const QString& authPass = kAuthPass,
                          const QString& privPass = kPrivPass);

    // Writes the registry stand-in and the device file "<address>.cfg" under `dir` and returns
    // the registry file's path, for KW9100_REGISTRY. The device file's [Program Information]
    // carries AgentPort = this device's port and Version = `version` (0 SNMPv1, 1 SNMPv2c,
    // 3 SNMPv3); for version 3 also the USM parameters of `v3User` (one of the profile's users,
    // tests/support/usm_pairs.h) at its level, with the pass phrases unless `passPhrasesInFile`
    // is false (the host then passes them on the command line). The help file named in the
    // registry is `dir`/help/kw9100hp.hlp (the host's help file name has exactly 12 characters).
    QString writeModuleFiles(const QString& dir, int version = 1,
                             const QString& v3User = "kwmd5des",
                             bool passPhrasesInFile = true) const;

private:
    bool startOnce(QString& failure, bool& portTaken);

    SimOptions options_;
    QTemporaryDir dir_;
    std::unique_ptr<QProcess> process_;
    quint16 port_ = 0;
    bool ok_ = false;
    QString error_;
    QString stderr_;
};

// snmpget over v2c with the read community: the value part of the answer ("INTEGER: 1"), empty
// when the tool failed.
QString snmpGetValue(const SimDevice& sim, const QString& oid);
// snmpset over v2c with the write community; varbinds as the tool takes them (OID TYPE VALUE...).
ToolResult snmpSetV2c(const SimDevice& sim, const QStringList& varbinds);

} // namespace kwtest
