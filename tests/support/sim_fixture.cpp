#include "tests/support/sim_fixture.h"
#include "tests/support/usm_pairs.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QTcpSocket>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace kwtest {

QString simPath() {
    return QStringLiteral(KW_SIM_PATH);
}

QString binDir() {
    return QStringLiteral(KW_BIN_DIR);
}

QString sourceDir() {
    return QStringLiteral(KW_SOURCE_DIR);
}

namespace {

constexpr int kAddressTaken = 3; // kw9100-sim's exit status when its port is in use

QProcessEnvironment toolEnvironment() {
    static QTemporaryDir toolDir; // where the tools may keep state instead of the home directory
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("MIBS", "");
    env.insert("MIBDIRS", toolDir.path());
    env.insert("SNMPCONFPATH", toolDir.path());
    env.insert("SNMP_PERSISTENT_DIR", toolDir.path());
    return env;
}

} // namespace

ToolResult runSnmpTool(const QString& tool, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.setProcessEnvironment(toolEnvironment());
    p.start(tool, args);
    ToolResult r;
    if (!p.waitForStarted(timeoutMs)) {
        r.err = tool + ": cannot start";
        return r;
    }
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = tool + ": did not finish";
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

SimDevice::SimDevice(SimOptions options) : options_(std::move(options)) {
    if (!dir_.isValid()) {
        error_ = "no temporary directory";
        return;
    }
    if (!options_.profileText.isEmpty()) {
        options_.profile = dir_.filePath("given.profile");
        QFile file(options_.profile);
        if (!file.open(QIODevice::WriteOnly) || file.write(options_.profileText) < 0) {
            error_ = "cannot write " + options_.profile;
            return;
        }
    }
    for (int attempt = 0; attempt < 5 && !ok_; ++attempt) {
        bool portTaken = false;
        ok_ = startOnce(error_, portTaken);
        if (!ok_ && !portTaken)
            break;
    }
}

SimDevice::~SimDevice() {
    stop();
}

bool SimDevice::startOnce(QString& failure, bool& portTaken) {
    // The simulator takes its ports itself (port 0: a free TCP port for the control channel and
    // the same number over UDP for the agent) and names the number in the port file once it
    // answers. A failed attempt's output is not this device's: each attempt starts afresh.
    const QString portFile = dir_.filePath("port");
    QFile::remove(portFile);
    stderr_.clear();
    QStringList args{"--listen",          options_.address + ":0",
                     "--port-file",       portFile,
                     "--profile",         options_.profile,
                     "--journal",         journalPath(),
                     "--restart-seconds", QString::number(options_.restartSeconds)};
    if (options_.tftpPort > 0)
        args << "--tftp-port" << QString::number(options_.tftpPort);
    args << options_.extraArgs;
    process_ = std::make_unique<QProcess>();
    process_->setProgram(simPath());
    process_->setArguments(args);
    // A test process that is killed (a time-out, an interrupted run) takes its simulator along
    // instead of leaving it answering on loopback.
    process_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_->start();
    if (!process_->waitForStarted(10000)) {
        failure = "cannot start " + simPath();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        if (process_->state() == QProcess::NotRunning) {
            stderr_ += QString::fromUtf8(process_->readAllStandardError());
            portTaken = process_->exitCode() == kAddressTaken;
            failure = "kw9100-sim ended at start: " + stderr_;
            return false;
        }
        QFile file(portFile);
        if (file.open(QIODevice::ReadOnly)) {
            port_ = static_cast<quint16>(file.readAll().trimmed().toUInt());
            if (port_ != 0 && control("ping") == "ok pong")
                return true;
        }
        // Also notices at once a simulator that ended.
        process_->waitForFinished(20);
    }
    // Try again with a fresh process rather than fail the test on one slow start.
    failure = "kw9100-sim did not answer within 20 s: " + errors();
    stop();
    portTaken = true;
    return false;
}

void SimDevice::stop() {
    if (!process_)
        return;
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(10000)) {
            process_->kill();
            process_->waitForFinished(5000);
        }
    }
    stderr_ += QString::fromUtf8(process_->readAllStandardError());
    process_.reset();
}

bool SimDevice::running() const {
    return process_ && process_->state() == QProcess::Running;
}

QString SimDevice::errors() {
    if (process_)
        stderr_ += QString::fromUtf8(process_->readAllStandardError());
    return stderr_;
}

QString SimDevice::journalPath() const {
    return dir_.filePath("journal.jsonl");
}

QList<QJsonObject> SimDevice::journal() const {
    QList<QJsonObject> lines;
    QFile file(journalPath());
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        lines.append(QJsonDocument::fromJson(line).object());
    }
    return lines;
}

QList<QJsonObject> SimDevice::requests(const QString& op) const {
    QList<QJsonObject> out;
    for (const auto& line : journal())
        if (line.contains("op") && (op.isEmpty() || line["op"].toString() == op))
            out.append(line);
    return out;
}

void SimDevice::clearJournal() {
    control("journal-clear");
}

QString SimDevice::control(const QString& command) {
    QTcpSocket socket;
    socket.connectToHost(options_.address, port_);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(command.toUtf8() + "\n");
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    while (!reply.contains('\n') && clock.elapsed() < 5000) {
        if (!socket.waitForReadyRead(500) && socket.state() != QAbstractSocket::ConnectedState)
            break;
        reply += socket.readAll();
    }
    return QString::fromUtf8(reply.left(reply.indexOf('\n')));
}

QJsonObject SimDevice::value(const QString& oid) {
    QString reply = control("get " + oid);
    if (!reply.startsWith("ok "))
        return {};
    return QJsonDocument::fromJson(reply.mid(3).toUtf8()).object();
}

bool SimDevice::waitUntil(const std::function<bool()>& predicate, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!predicate()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

QStringList SimDevice::toolArgs(const QStringList& credentials, double timeoutSeconds) const {
    return QStringList{"-On", "-Le",       "-m", "",
                       "-M",  "/dev/null", "-t", QString::number(timeoutSeconds),
                       "-r",  "0"}
           << credentials << endpoint();
}

QStringList SimDevice::v1(const QString& community) {
    return {"-v1", "-c", community};
}

QStringList SimDevice::v2c(const QString& community) {
    return {"-v2c", "-c", community};
}

QStringList SimDevice::v3(const QString& user, const QString& authPass, const QString& privPass) {
    QStringList args{"-v3", "-u", user, "-l", "noAuthNoPriv"};
    forEachUsmPair([&](const UsmPair& pair) {
        if (user != pair.user())
            return;
        args = QStringList{"-v3", "-u", user, "-a", pair.auth.agent, "-A", authPass};
        if (pair.withPrivacy())
            args << "-l"
                 << "authPriv"
                 << "-x" << pair.priv.agent << "-X" << privPass;
        else
            args << "-l"
                 << "authNoPriv";
    });
    return args;
}

QString SimDevice::writeModuleFiles(const QString& dir, int version, const QString& v3User,
                                    bool passPhrasesInFile) const {
    QDir().mkpath(dir + "/help");
    QString base = QDir(dir).absolutePath() + "/";
    // Host codes: security level 1 = authNoPriv, 2 = authPriv; the protocols' codes are the
    // session's numbers less one.
    const bool v3 = version == 3;
    int level = 0, auth = 0, priv = 0;
    forEachUsmPair([&](const UsmPair& pair) {
        if (v3 && pair.user() == v3User) {
            level = pair.level() - 1;
            auth = pair.auth.protocol - 1;
            priv = pair.priv.protocol - 1;
        }
    });
    const bool pass = v3 && passPhrasesInFile;
    QFile device(base + options_.address + ".cfg");
    if (device.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        device.write(QString("[Program Information]\n"
                             "AgentPort=%1\nVersion=%2\nContextName=\nContextEngineID=\n"
                             "SecurityModel=3\nSecurityLevel=%3\nSecurityName=%4\n"
                             "AuthProtocol=%5\nPrivProtocol=%6\nAuthPassword=%7\nPrivPassword=%8\n")
                         .arg(port_)
                         .arg(version)
                         .arg(level)
                         .arg(v3 ? v3User : QString())
                         .arg(auth)
                         .arg(priv)
                         .arg(pass ? kAuthPass : "")
                         .arg(pass ? kPrivPass : "")
                         .toUtf8());
    }
    QString registryPath = base + "registry.ini";
    QFile registry(registryPath);
    if (registry.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        registry.write(QString("[\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile]\nPath=%1\n"
                               "[\\SOFTWARE\\Velkor\\Modules\\HelpPath]\n"
                               "1.3.6.1.4.1.32473.2.20=%1help/kw9100hp.hlp\n")
                           .arg(base)
                           .toUtf8());
    }
    return registryPath;
}

QString snmpGetValue(const SimDevice& sim, const QString& oid) {
    const ToolResult r = runSnmpTool("snmpget", sim.toolArgs(SimDevice::v2c()) << oid);
    return r.exitCode == 0 ? r.out.trimmed().section(" = ", 1) : QString();
}

ToolResult snmpSetV2c(const SimDevice& sim, const QStringList& varbinds) {
    return runSnmpTool("snmpset", sim.toolArgs(SimDevice::v2c(SimDevice::kWriteCommunity))
                                      << varbinds);
}

} // namespace kwtest
