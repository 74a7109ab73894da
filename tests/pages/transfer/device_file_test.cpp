// A file the device uploads on command, received on the module's TFTP server: the order as the
// device sees it, the file kept per device, the old file gone before the order, refusals and
// uploads that never come reported, and uploads from anyone else or under another name refused.
#include "pages/common/page.h"
#include "pages/transfer/device_file.h"
#include "pages/transfer/transfer_server.h"
#include "tables/log_view.h"
#include "tests/support/transfer_fixture.h"
#include "transfer/tftp_server.h"

#include <memory>
#include <QComboBox>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QtEndian>
#include <QUdpSocket>

namespace {

using namespace tables::log_view;

// A page that orders the device's log, as the log viewer does.
class Host : public pages::Page {
public:
    Host() : Page(nullptr) {
        server = new pages::TransferServer(this, 5000, 3, nullptr);
        file = new pages::DeviceFile(*server, QStringLiteral("LogFile.RD"), 3);
        serverEdit = new QLineEdit(this);
        nameEdit = new QLineEdit(this);
        getBox = new QComboBox(this);
        order = addRequest(kGetLog, {.kind = MVT_SV});
        pages::bind(*order, {{kServerIp, serverEdit}, {kFileName, nameEdit}, {kGet, getBox}});
    }
    ~Host() override { *gone = true; } // before its children (the server) go
    bool ask() {
        nameEdit->setText(file->name());
        getBox->setCurrentText(QStringLiteral("get"));
        return file->request(*order, serverEdit);
    }

    pages::TransferServer* server;
    pages::DeviceFile* file;
    QLineEdit* serverEdit;
    QLineEdit* nameEdit;
    QComboBox* getBox;
    QvSNMPRequest2Edits* order;
    std::shared_ptr<bool> gone = std::make_shared<bool>(false);
};

class DeviceFileTest : public test::TransferWindow {
protected:
    void SetUp() override {
        TransferWindow::SetUp();
        start("recent");
        host = std::make_unique<Host>(); // its server listens on the test's port, for this device
    }
    void TearDown() override {
        host.reset();
        TransferWindow::TearDown();
    }
    // The device's log, replaced through the control channel.
    void setLog(const QByteArray& text) {
        QByteArray escaped;
        for (char c : text)
            escaped +=
                (c == '\t' || c == '\n' || c == '"' || c == '\\')
                    ? QByteArray("\\x") + QByteArray::number(uchar(c), 16).rightJustified(2, '0')
                    : QByteArray(1, c);
        ASSERT_TRUE(sim->command("set devMib.2.11.100.0 \"" + QString::fromLatin1(escaped) + "\""));
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }

    std::unique_ptr<Host> host;
};

TEST_F(DeviceFileTest, TheOrderedFileArrivesWholeInTheDevicesOwnDirectory) {
    QByteArray log;
    for (int i = 0; i < 60; ++i) // four blocks and a bit
        log +=
            "Jan  1 00:00:" + QByteArray::number(i) + "\t[SYS]line " + QByteArray::number(i) + "\n";
    setLog(log);
    QSignalSpy arrived(host->file, &pages::DeviceFile::arrived);
    QSignalSpy failed(host->file, &pages::DeviceFile::failed);

    ASSERT_TRUE(host->ask());
    ASSERT_TRUE(waitFor([&] { return arrived.count() == 1; }));
    EXPECT_EQ(failed.count(), 0);

    const QString path = arrived.at(0).at(0).toString();
    EXPECT_EQ(path, host->file->path());
    EXPECT_TRUE(path.startsWith(dir.path() + "/data/")) << path.toStdString();
    EXPECT_TRUE(path.endsWith("/devices/" + sim->address() + "/LogFile.RD")) << path.toStdString();
    EXPECT_EQ(read(path), log);
    EXPECT_EQ(sets().last(), test::devMibOid("2.11.4.0=127.0.0.1,") +
                                 test::devMibOid("2.11.5.0=LogFile.RD,") +
                                 test::devMibOid("2.11.6.0=1"));
    EXPECT_FALSE(host->file->waiting());
}

TEST_F(DeviceFileTest, EachDeviceHasItsOwnPlace) {
    const QString first = host->file->path();
    EXPECT_TRUE(first.contains("/devices/" + sim->address() + "/")) << first.toStdString();
    Host other;
    other.server->server().SetDeviceAddress("127.0.0.9"); // a module managing another device
    EXPECT_TRUE(other.file->path().endsWith("/devices/127.0.0.9/LogFile.RD"))
        << other.file->path().toStdString();
    EXPECT_NE(other.file->path(), first);
}

TEST_F(DeviceFileTest, ARefusedOrderIsReportedAndNoOldFileIsLeftToPassForTheNewOne) {
    const QString path = host->file->path();
    ASSERT_TRUE(test::writeFile(path, "Jan  1\t[SYS]an earlier order's log\n"));
    ASSERT_TRUE(sim->command("error devMib.2.11.6 5 set"));
    QSignalSpy arrived(host->file, &pages::DeviceFile::arrived);
    QSignalSpy failed(host->file, &pages::DeviceFile::failed);

    EXPECT_FALSE(host->ask());
    ASSERT_EQ(failed.count(), 1);
    EXPECT_FALSE(failed.at(0).at(0).toString().isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(host->file->waiting());
    EXPECT_EQ(arrived.count(), 0);
}

TEST_F(DeviceFileTest, AnOrderTheDeviceNeverAnswersWithAFileEndsAfterItsTicks) {
    QSignalSpy failed(host->file, &pages::DeviceFile::failed);
    ASSERT_TRUE(host->file->prepare(host->serverEdit)); // the order itself is never sent
    QvSNMPError ok;
    ok.code = 0;
    host->file->answered(ok);
    EXPECT_TRUE(host->file->waiting());
    ASSERT_TRUE(waitFor([&] { return failed.count() == 1; }));
    EXPECT_EQ(failed.at(0).at(0).toString(), QString(pages::kNoFileText));
    EXPECT_FALSE(host->file->waiting());
}

// A write request sent straight to the module's TFTP server from `source`.
struct Upload {
    QString source; // "device" for the managed device's address
    QString name;
    bool ordered;  // whether the page is waiting for its file
    bool accepted; // the server acknowledges block 0
};

TEST_F(DeviceFileTest, UploadsAreTakenOnlyFromTheDeviceUnderTheOrderedNameWhileOrdered) {
    const Upload cases[] = {
        {"device", "LogFile.RD", true, true},
        {"127.0.0.1", "LogFile.RD", true, false}, // another host
        {"device", "Other.RD", true, false},      // another name
        {"device", "LogFile.RD", false, false},   // nothing ordered
    };
    for (const Upload& c : cases) {
        SCOPED_TRACE((c.source + " " + c.name + (c.ordered ? " ordered" : "")).toStdString());
        host->file->cancel();
        if (c.ordered) {
            ASSERT_TRUE(host->file->prepare(host->serverEdit));
        }
        const QString dirPath = host->file->directory();

        QUdpSocket client;
        const QString source = c.source == "device" ? sim->address() : c.source;
        ASSERT_TRUE(client.bind(QHostAddress(source), 0));
        QByteArray wrq(2, '\0');
        qToBigEndian<quint16>(2, wrq.data());
        wrq += c.name.toLatin1() + '\0' + "octet" + '\0';
        ASSERT_EQ(client.writeDatagram(wrq, QHostAddress::LocalHost, tftpPort), wrq.size());

        // A refused request ends at once with a failure event (the foreign host also gets an
        // error packet); an accepted one is acknowledged.
        int refusals = 0;
        const auto watch = QObject::connect(
            host->server, &pages::TransferServer::sessionEvent, [&](const QvTFTPMsg& msg, bool&) {
                refusals += msg.status < 0 && msg.fileName == c.name;
            });
        ASSERT_TRUE(waitFor([&] { return client.hasPendingDatagrams() || refusals > 0; }));
        QObject::disconnect(watch);
        EXPECT_EQ(refusals > 0, !c.accepted);
        quint16 opcode = 0;
        quint16 sessionPort = 0;
        if (client.hasPendingDatagrams()) {
            const QNetworkDatagram reply = client.receiveDatagram();
            ASSERT_GE(reply.data().size(), 4);
            opcode = qFromBigEndian<quint16>(reply.data().constData());
            sessionPort = static_cast<quint16>(reply.senderPort());
        }
        EXPECT_EQ(opcode == 4, c.accepted) << opcode;
        if (!c.accepted) {
            EXPECT_FALSE(QFile::exists(dirPath + c.name));
            continue;
        }
        // The device answered the order; a short DATA 1 completes the upload.
        QSignalSpy arrived(host->file, &pages::DeviceFile::arrived);
        QvSNMPError ok;
        ok.code = 0;
        host->file->answered(ok);
        QByteArray data(4, '\0');
        qToBigEndian<quint16>(3, data.data());
        qToBigEndian<quint16>(1, data.data() + 2);
        data += "Jan\t[SYS]x\n";
        ASSERT_EQ(client.writeDatagram(data, QHostAddress::LocalHost, sessionPort), data.size());
        ASSERT_TRUE(waitFor([&] { return arrived.count() == 1; }));
        EXPECT_EQ(read(dirPath + c.name), "Jan\t[SYS]x\n");
    }
}

// The device's upload is ending when the page goes. A page that closes stops its server then,
// still whole: the transfer ends and the page hears of it. A page destroyed without closing has
// its server stop as it is destroyed: the transfer still ends, and the page, half gone by then,
// hears nothing of it.
TEST_F(DeviceFileTest, AnUploadEndingAsThePageGoesIsHeardOnlyByAWholePage) {
    struct Way {
        const char* name;
        bool closeFirst;
    };
    for (const Way way : {Way{"closed, then destroyed", true}, Way{"destroyed", false}}) {
        SCOPED_TRACE(way.name);
        if (!host)
            host = std::make_unique<Host>();
        ASSERT_TRUE(host->file->prepare(host->serverEdit));
        QvSNMPError ok;
        ok.code = 0;
        host->file->answered(ok); // the device took the order: the page waits for the file
        const QString path = host->file->path();
        int heardWhole = 0;
        int heardHalfGone = 0;
        const auto hear = [&, gone = host->gone] { ++(*gone ? heardHalfGone : heardWhole); };
        QObject::connect(host->file, &pages::DeviceFile::arrived, host.get(), hear);
        QObject::connect(host->file, &pages::DeviceFile::failed, host.get(), hear);

        // The device's upload, acknowledged; its last block is on its way when the page goes.
        QUdpSocket device;
        ASSERT_TRUE(device.bind(QHostAddress(sim->address()), 0));
        QByteArray wrq(2, '\0');
        qToBigEndian<quint16>(2, wrq.data());
        wrq += QByteArray("LogFile.RD") + '\0' + "octet" + '\0';
        ASSERT_EQ(device.writeDatagram(wrq, QHostAddress::LocalHost, tftpPort), wrq.size());
        ASSERT_TRUE(waitFor([&] { return device.hasPendingDatagrams(); }));
        const QNetworkDatagram ack = device.receiveDatagram();
        ASSERT_GE(ack.data().size(), 4);
        ASSERT_EQ(qFromBigEndian<quint16>(ack.data().constData()), 4);
        QByteArray data(4, '\0');
        qToBigEndian<quint16>(3, data.data());
        qToBigEndian<quint16>(1, data.data() + 2);
        data += "Jan\t[SYS]last\n";
        ASSERT_EQ(device.writeDatagram(data, QHostAddress::LocalHost,
                                       static_cast<quint16>(ack.senderPort())),
                  data.size());
        if (way.closeFirst) {
            host->reject();
            EXPECT_EQ(heardWhole, 1); // the upload ended while the page closed
        }
        host.reset();

        EXPECT_EQ(heardWhole, way.closeFirst ? 1 : 0);
        EXPECT_EQ(heardHalfGone, 0);
        EXPECT_EQ(read(path), "Jan\t[SYS]last\n"); // the transfer itself was let finish
    }
}

} // namespace
