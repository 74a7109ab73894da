// The module executable itself, started as the host starts it. Message boxes go to a prompt log
// (KW9100_PROMPT_LOG) so that no box can hold a test; the window is looked for on a private
// X server.
#include "tests/support/files.h"
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>
#include <iostream>
#include <QCoreApplication>
#include <QDateTime>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString kModule = kwtest::binDir() + QStringLiteral("/kw9100");

QString address(int n) {
    return QStringLiteral("127.93.%1.%2").arg(QCoreApplication::applicationPid() % 250).arg(n);
}

// One run of the module; killed at the end of the test when it still runs.
class Module {
public:
    Module(const QTemporaryDir& dir, const QStringList& arguments, const QString& display = {}) {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("KW9100_PROMPT_LOG", dir.filePath("prompts.log"));
        env.insert("KW9100_REGISTRY", dir.filePath("registry.ini"));
        env.insert("KW9100_PROBE_MARKER", dir.filePath("probe.marker"));
        env.insert("XDG_DATA_HOME", dir.filePath("data")); // its data directory
        if (display.isEmpty()) {
            env.insert("QT_QPA_PLATFORM", "offscreen");
        } else {
            env.insert("QT_QPA_PLATFORM", "xcb");
            env.insert("DISPLAY", display);
        }
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(kModule, arguments);
    }
    ~Module() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(10000);
        }
    }
    // Exit code of a run that ends by itself within a minute; -1 otherwise.
    int exitCode() {
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }
    QProcess process;
};

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ModuleProcess, WithoutArgumentsItRefusesAndEnds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Module module(dir, {});
    EXPECT_EQ(module.exitCode(), 0) << module.process.readAllStandardError().toStdString();
    EXPECT_EQ(readFile(dir.filePath("prompts.log")),
              "KW-9100\tThis module is only used in the Halvren or HP-Openview.\n");
}

TEST(ModuleProcess, BadNumberEndsItWithAMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Module module(dir, {"/I" + address(1), "/v3", "/t16x"});
    EXPECT_EQ(module.exitCode(), 1) << module.process.readAllStandardError().toStdString();
    EXPECT_EQ(readFile(dir.filePath("prompts.log")),
              "Error\tThe value \"16x\" of the switch \"/t\" is not a decimal integer.\n");
}

// Every file under `dir`, recursively.
QStringList filesUnder(const QString& dir) {
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

// The host passes the pass phrases as switches; a running module shows them to nobody: its
// command line (what ps and /proc show every local user) holds the switches without their
// values, and nothing it writes holds them either. The probe through SNMPv3 with HMAC-SHA-256
// and AES-256 answered, so the keys made from the pass phrases were right.
TEST(ModuleProcess, ThePassPhrasesLeaveItsCommandLineAndNothingItWritesHoldsThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    kwtest::SimOptions options("recent", 1);
    options.address = address(4);
    kwtest::SimDevice sim(options);
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    sim.writeModuleFiles(dir.path(), 3, "kwsha256aes256", false);
    const QString authPass = kwtest::SimDevice::kAuthPass;
    const QString privPass = kwtest::SimDevice::kPrivPass;

    Module module(dir, {"/I" + address(4), "/A" + authPass, "/P" + privPass});
    ASSERT_TRUE(module.process.waitForStarted(10000));
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(dir.filePath("probe.marker")) &&
           module.process.state() == QProcess::Running && clock.elapsed() < 60000)
        module.process.waitForFinished(100);
    ASSERT_TRUE(QFile::exists(dir.filePath("probe.marker")))
        << module.process.readAllStandardError().toStdString();
    bool authPriv = false;
    for (const QJsonObject& o : sim.requests("get"))
        authPriv = authPriv || (o["user"].toString() == "kwsha256aes256" &&
                                o["level"].toString() == "authPriv" && !o.contains("refused"));
    EXPECT_TRUE(authPriv);

    const QString pid = QString::number(module.process.processId());
    QList<QByteArray> cmdline = readFile("/proc/" + pid + "/cmdline").split('\0');
    cmdline.removeAll(QByteArray());
    EXPECT_EQ(cmdline,
              (QList<QByteArray>{kModule.toLocal8Bit(), "/I" + address(4).toLatin1(), "/A", "/P"}));
    QProcess ps;
    ps.start("ps", {"-o", "args=", "-p", pid});
    ASSERT_TRUE(ps.waitForFinished(10000));
    const QByteArray shown = ps.readAllStandardOutput().trimmed();
    EXPECT_EQ(shown, kModule.toLocal8Bit() + " /I" + address(4).toLatin1() + " /A /P");
    std::cout << "ps -o args: " << shown.toStdString() << std::endl;

    module.process.terminate();
    module.process.waitForFinished(10000);
    const QByteArray output =
        module.process.readAllStandardOutput() + module.process.readAllStandardError();
    const QStringList files = filesUnder(dir.path());
    EXPECT_TRUE(files.contains(dir.filePath("QvSNMP_PP_BootCounter")))
        << files.join(' ').toStdString();
    for (const QString& pass : {authPass, privPass}) {
        EXPECT_FALSE(output.contains(pass.toUtf8()));
        for (const QString& file : files) {
            const QByteArray content = readFile(file);
            EXPECT_FALSE(content.contains(pass.toUtf8()) ||
                         content.contains(QByteArray(reinterpret_cast<const char*>(pass.utf16()),
                                                     pass.size() * 2)))
                << file.toStdString();
        }
    }
}

// A private X server, so that the module's window can be seen by its caption.
class XServer {
public:
    XServer() {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("xwininfo").isEmpty())
            return;
        server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"});
        QByteArray out;
        const QDateTime until = QDateTime::currentDateTime().addSecs(20);
        while (!out.contains('\n') && QDateTime::currentDateTime() < until &&
               server.state() != QProcess::NotRunning) {
            server.waitForReadyRead(200);
            out += server.readAllStandardOutput();
        }
        if (out.contains('\n'))
            display = ":" + QString::fromLatin1(out.trimmed());
    }
    ~XServer() {
        if (server.state() != QProcess::NotRunning) {
            server.terminate();
            if (!server.waitForFinished(5000)) {
                server.kill();
                server.waitForFinished(5000);
            }
        }
    }
    QStringList windowTitles() {
        QProcess info;
        info.start("xwininfo", {"-display", display, "-root", "-tree"});
        info.waitForFinished(10000);
        QStringList titles;
        for (const QByteArray& line : info.readAllStandardOutput().split('\n')) {
            const qsizetype open = line.indexOf('"');
            const qsizetype close = line.indexOf("\":", open + 1);
            if (open >= 0 && close > open)
                titles << QString::fromUtf8(line.mid(open + 1, close - open - 1));
        }
        return titles;
    }
    // Waits until a window has `title`, or the module has ended, or a minute has passed.
    bool waitForWindow(const QString& title, QProcess& module) {
        const QDateTime until = QDateTime::currentDateTime().addSecs(60);
        while (QDateTime::currentDateTime() < until && module.state() != QProcess::NotRunning) {
            if (windowTitles().contains(title))
                return true;
            module.waitForFinished(200);
        }
        return false;
    }

    QProcess server;
    QString display;
};

TEST(ModuleProcess, SecondModuleForAnAddressIsRefusedUntilTheFirstHasGone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    XServer x;
    if (x.display.isEmpty())
        GTEST_SKIP() << "Xvfb and xwininfo are needed to see the window";
    const QString caption = "KW-9100 : " + address(2);
    // Devices that answer at both addresses: the window shows once the probe is through, which
    // against a silent address takes its time-outs.
    std::vector<std::unique_ptr<kwtest::SimDevice>> devices;
    for (int n : {2, 3}) {
        kwtest::SimOptions options("recent", 1);
        options.address = address(n);
        devices.push_back(std::make_unique<kwtest::SimDevice>(options));
        ASSERT_TRUE(devices.back()->ok()) << devices.back()->error().toStdString();
        devices.back()->writeModuleFiles(dir.path(), 0);
    }

    auto first =
        std::make_unique<Module>(dir, QStringList{"/I" + address(2), "/Rfenrow"}, x.display);
    ASSERT_TRUE(x.waitForWindow(caption, first->process))
        << first->process.readAllStandardError().toStdString();

    Module second(dir, {"/I" + address(2), "/Rfenrow"});
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(readFile(dir.filePath("prompts.log")),
              "Warning\tAnother KW9100 module is running!\n");

    Module otherAddress(dir, {"/I" + address(3), "/Rfenrow"}, x.display);
    EXPECT_TRUE(x.waitForWindow("KW-9100 : " + address(3), otherAddress.process));

    // A crash: the killed module cannot clean up, yet the next start for its address runs.
    first->process.kill();
    ASSERT_TRUE(first->process.waitForFinished(10000));
    first.reset();
    Module third(dir, {"/I" + address(2), "/Rfenrow"}, x.display);
    EXPECT_TRUE(x.waitForWindow(caption, third.process))
        << third.process.readAllStandardError().toStdString();
    EXPECT_EQ(readFile(dir.filePath("prompts.log")),
              "Warning\tAnother KW9100 module is running!\n");
}

} // namespace
