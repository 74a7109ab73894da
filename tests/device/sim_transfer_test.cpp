// The simulated device's file transfers as a TFTP client: a "Get" or "Put" command is answered
// when its transfer has ended, other requests are served meanwhile, and a failed transfer is
// answered with an error status. The TFTP server here is a scripted peer on a test socket.
#include "tests/support/files.h"
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>
#include <QtEndian>
#include <QUdpSocket>

using kwtest::runSnmpTool;
using kwtest::SimDevice;

namespace {

const QString kDevMib = "1.3.6.1.4.1.32473.1";
const QString kServer = kDevMib + ".3.3.1.0";
const QString kFileName = kDevMib + ".3.3.2.0";
const QString kTftpCommand = kDevMib + ".3.3.4.0";

QByteArray packet(quint16 opcode, quint16 number, const QByteArray& data = {}) {
    char head[4];
    qToBigEndian(opcode, head);
    qToBigEndian(number, head + 2);
    return QByteArray(head, 4) + data;
}

struct Datagram {
    QByteArray bytes;
    QHostAddress from;
    quint16 port = 0;
    quint16 opcode() const { return qFromBigEndian<quint16>(bytes.constData()); }
    quint16 block() const { return qFromBigEndian<quint16>(bytes.constData() + 2); }
};

class SimTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(flash.isValid());
        ASSERT_TRUE(peer.bind(QHostAddress::LocalHost, 0));
        kwtest::SimOptions options("early", 1);
        options.extraArgs = {"--tftp-port", QString::number(peer.localPort()), "--flash-dir",
                             flash.path()};
        sim = std::make_unique<SimDevice>(options);
        ASSERT_TRUE(sim->ok()) << sim->error().toStdString();
        const auto r = runSnmpTool("snmpset", sim->toolArgs(SimDevice::v2c("quillet"))
                                                  << kServer << "a"
                                                  << "127.0.0.1" << kFileName << "s"
                                                  << "image.tfp");
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    void TearDown() override {
        if (command.state() != QProcess::NotRunning) {
            command.kill();
            command.waitForFinished(5000);
        }
        if (sim) {
            sim->stop();
            EXPECT_EQ(sim->errors(), "");
        }
    }

    // Starts the SET of tftpcommand without waiting for its answer.
    void startCommand(int value) {
        command.start("snmpset", sim->toolArgs(SimDevice::v2c("quillet"), 20)
                                     << kTftpCommand << "i" << QString::number(value));
        ASSERT_TRUE(command.waitForStarted(5000));
    }
    Datagram receive() {
        Datagram d;
        if (!SimDevice::waitUntil([&] { return peer.hasPendingDatagrams(); }, 10000))
            return d;
        d.bytes.resize(static_cast<int>(peer.pendingDatagramSize()));
        peer.readDatagram(d.bytes.data(), d.bytes.size(), &d.from, &d.port);
        return d;
    }
    bool commandAnswered() {
        return SimDevice::waitUntil([&] { return command.state() == QProcess::NotRunning; }, 15000);
    }

    QTemporaryDir flash;
    QUdpSocket peer;
    std::unique_ptr<SimDevice> sim;
    QProcess command;
};

TEST_F(SimTransfer, GetIsAnsweredWhenTheFileHasArrivedAndOtherRequestsGoOn) {
    startCommand(2);
    const Datagram request = receive();
    ASSERT_EQ(request.opcode(), 1); // read request
    EXPECT_EQ(request.bytes.mid(2), QByteArray("image.tfp\0octet\0", 16));
    EXPECT_EQ(request.from.toString(), sim->address()); // from the device's own address
    // The transfer waits on this peer; the device still answers everything else.
    const auto get = runSnmpTool("snmpget", sim->toolArgs(SimDevice::v2c()) << "1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(get.exitCode, 0) << get.err.toStdString();
    EXPECT_EQ(command.state(), QProcess::Running);

    const QByteArray first(512, 'a');
    const QByteArray last("tail of the image");
    peer.writeDatagram(packet(3, 1, first), request.from, request.port);
    Datagram ack = receive();
    EXPECT_EQ(ack.opcode(), 4);
    EXPECT_EQ(ack.block(), 1);
    peer.writeDatagram(packet(3, 2, last), ack.from, ack.port);
    ack = receive();
    EXPECT_EQ(ack.block(), 2);

    ASSERT_TRUE(commandAnswered());
    EXPECT_EQ(command.exitCode(), 0) << command.readAllStandardError().toStdString();
    QFile kept(flash.filePath("image.tfp"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll() == first + last);
}

TEST_F(SimTransfer, FailedGetIsAnsweredWithAnError) {
    startCommand(2);
    const Datagram request = receive();
    ASSERT_EQ(request.opcode(), 1);
    peer.writeDatagram(packet(5, 1, QByteArray("\0", 1)), request.from, request.port); // not found
    ASSERT_TRUE(commandAnswered());
    EXPECT_NE(command.exitCode(), 0);
    EXPECT_TRUE(command.readAllStandardOutput().contains("genErr") ||
                command.readAllStandardError().contains("genErr"));
    EXPECT_FALSE(QFile::exists(flash.filePath("image.tfp")));
}

TEST_F(SimTransfer, PutWritesTheSettingsAsText) {
    startCommand(3);
    const Datagram request = receive();
    ASSERT_EQ(request.opcode(), 2); // write request
    QByteArray received;
    peer.writeDatagram(packet(4, 0), request.from, request.port);
    for (quint16 block = 1;; ++block) {
        const Datagram data = receive();
        ASSERT_EQ(data.opcode(), 3);
        ASSERT_EQ(data.block(), block);
        received += data.bytes.mid(4);
        peer.writeDatagram(packet(4, block), data.from, data.port);
        if (data.bytes.size() - 4 < 512)
            break;
    }
    ASSERT_TRUE(commandAnswered());
    EXPECT_EQ(command.exitCode(), 0);
    EXPECT_TRUE(received.startsWith("# KW-9100 configuration\n"));
    EXPECT_TRUE(received.contains(QByteArray("1.3.6.1.4.1.32473.1.1.1.1.1.1 string \"KW9100\"\n")));
    EXPECT_TRUE(received.contains(QByteArray("1.3.6.1.4.1.32473.1.1.1.1.3.1 integer 6\n")));
    // Commands and read-only objects are not settings.
    EXPECT_FALSE(received.contains(QByteArray("1.3.6.1.4.1.32473.1.3.3.4.0")));
    EXPECT_FALSE(received.contains(QByteArray("1.3.6.1.4.1.32473.1.4.1.1.1.0")));
}

} // namespace
