#pragma once
// A main window against the simulated device for the transfer pages: the module's TFTP server
// and the device's TFTP client meet on a free loopback port (KW9100_TFTP_PORT and the
// simulator's --tftp-port), the PC's only interface is the loopback network the device is on,
// and the device keeps every file it fetches in `flash` so that tests can compare the bytes.
//
//   class FirmwarePage : public test::TransferWindow {};
//   start("early");                              // the simulator and the main window
//   QByteArray image = test::firmwareImage("v3.01", payload);
//   waitFor([&] { return !page.upload()->running(); });
#include "app/wait_dialog.h"
#include "pages/common/page.h"
#include "platform/net_interface.h"
#include "tests/support/device_window.h"
#include "tests/support/files.h"
#include "tests/support/ports.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtEndian>
#include <QUdpSocket>

namespace test {

// A UDP port of 127.0.0.1 that nothing listens on right now (see kwtest::unusedPort).
inline quint16 freeUdpPort() {
    return kwtest::unusedPort(QAbstractSocket::UdpSocket);
}

// A firmware image as the device takes it: "KW9100FW", the version NUL-padded to 16 bytes, the
// payload's length and byte sum (32-bit big-endian each), the payload.
inline QByteArray firmwareImage(const QByteArray& version, const QByteArray& payload) {
    QByteArray image("KW9100FW");
    image += version.leftJustified(16, '\0', true);
    quint32 sum = 0;
    for (char c : payload)
        sum += static_cast<unsigned char>(c);
    char number[4];
    qToBigEndian(static_cast<quint32>(payload.size()), number);
    image.append(number, 4);
    qToBigEndian(sum, number);
    image.append(number, 4);
    return image + payload;
}

// Bytes that differ from block to block, `size` long.
inline QByteArray patternBytes(int size) {
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = static_cast<char>((i * 7 + i / 512) & 0xff);
    return out;
}

// A TCP port of 127.0.0.1 that nothing listens on right now (see kwtest::unusedPort).
inline quint16 freeTcpPort() {
    return kwtest::unusedPort(QAbstractSocket::TcpSocket);
}

// An FTP server (python3-pyftpdlib) on 127.0.0.1 serving `root` to one account, for the
// device's certificate fetches. Stopped by its destructor.
class FtpServer {
public:
    FtpServer(const QString& root, const QString& user, const QString& password) {
        // The system's interpreter: the one that has the packaged module.
        const QString python =
            QFile::exists("/usr/bin/python3") ? QString("/usr/bin/python3") : QString("python3");
        process_.setProcessChannelMode(QProcess::MergedChannels);
        // A server that ends at once lost its port to another test: again with another port.
        for (int attempt = 0; attempt < 5 && !ready_; ++attempt) {
            port_ = freeTcpPort();
            process_.start(python,
                           {"-m", "pyftpdlib", "-i", "127.0.0.1", "-p", QString::number(port_),
                            "-d", root, "-u", user, "-P", password});
            ready_ =
                port_ != 0 && process_.waitForStarted(5000) &&
                kwtest::SimDevice::waitUntil(
                    [&] {
                        if (process_.waitForFinished(0) || process_.state() == QProcess::NotRunning)
                            return true;
                        QTcpSocket probe;
                        probe.connectToHost(QHostAddress::LocalHost, port_);
                        return probe.waitForConnected(200);
                    },
                    10000) &&
                process_.state() == QProcess::Running;
            if (!ready_) {
                process_.kill();
                process_.waitForFinished(5000);
            }
        }
    }
    ~FtpServer() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool ready() const { return ready_; }
    quint16 port() const { return port_; }
    QString output() { return QString::fromLocal8Bit(process_.readAll()); }

private:
    quint16 port_ = 0;
    QProcess process_;
    bool ready_ = false;
};

class TransferWindow : public DeviceWindow {
protected:
    void SetUp() override {
        DeviceWindow::SetUp();
        savedPort = qgetenv("KW9100_TFTP_PORT");
        hadPort = qEnvironmentVariableIsSet("KW9100_TFTP_PORT");
        tftpPort = freeUdpPort();
        ASSERT_NE(tftpPort, 0);
        qputenv("KW9100_TFTP_PORT", QByteArray::number(tftpPort));
        QvNetInterface lo;
        lo.address = "127.0.0.1";
        lo.netmask = "255.0.0.0";
        lo.up = lo.loopback = true;
        platform::setLocalInterfacesOverride(QList<QvNetInterface>{lo});
        ASSERT_TRUE(QDir().mkpath(flash()));
        ASSERT_TRUE(QDir().mkpath(files()));
        // Files the device uploads are kept in the module's data folder: the test's own.
        savedData = qgetenv("XDG_DATA_HOME");
        hadData = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    }
    void TearDown() override {
        // The device's transfers run on threads of their own: it must stop cleanly, with nothing
        // on its error output (sanitizer reports included).
        form.reset();
        if (sim) {
            sim->stop();
            EXPECT_EQ(sim->errors(), "");
        }
        DeviceWindow::TearDown();
        platform::setLocalInterfacesOverride(std::nullopt);
        if (hadPort)
            qputenv("KW9100_TFTP_PORT", savedPort);
        else
            qunsetenv("KW9100_TFTP_PORT");
        if (hadData)
            qputenv("XDG_DATA_HOME", savedData);
        else
            qunsetenv("XDG_DATA_HOME");
    }

    void start(const QString& profile, const QStringList& more = {}) {
        DeviceWindow::start(
            profile, 1,
            QStringList{"--tftp-port", QString::number(tftpPort), "--flash-dir", flash()} + more);
        // The page gives the device the PC's address on the device's subnet: wait for the
        // device's address and mask to arrive.
        ASSERT_TRUE(waitFor([&] {
            return flag("IPAddressEdit") == sim->address() && flag("SubMaskEdit") == "255.0.0.0";
        }));
    }

    // The wait dialog on the screen, if any.
    static TFM_Waiting* waitDialog() {
        return qobject_cast<TFM_Waiting*>(QApplication::activeModalWidget());
    }
    // Processes events until `page` has nothing under way and no wait dialog is open; count-downs
    // are cut short when `hurry`.
    static bool settle(const pages::Page& page, const std::function<bool()>& flowRunning,
                       bool hurry = false, int ms = 60000) {
        return waitFor(
            [&] {
                TFM_Waiting* wait = waitDialog();
                if (wait && hurry)
                    wait->secondsLeft = 0;
                return !wait && !flowRunning() && !page.exchangesOutstanding();
            },
            ms);
    }

    // Where the device keeps what it fetched, and where the operator's files are.
    QString flash() const { return dir.filePath("flash"); }
    QString files() const { return dir.filePath("pc"); }
    QByteArray flashFile(const QString& name) const {
        QFile f(QDir(flash()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // The device's own events of one kind ("transfer", "restart", "firmware"...).
    QList<QJsonObject> events(const QString& name) const {
        QList<QJsonObject> out;
        for (const QJsonObject& line : sim->journal())
            if (line["event"].toString() == name)
                out << line;
        return out;
    }

    // Processes events until `done` holds; false after `ms`.
    static bool waitFor(const std::function<bool()>& done, int ms = 20000) {
        return kwtest::SimDevice::waitUntil(done, ms);
    }

    quint16 tftpPort = 0;
    QByteArray savedPort;
    QByteArray savedData;
    bool hadData = false;
    bool hadPort = false;
};

} // namespace test
