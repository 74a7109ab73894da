// The server against TFTP clients that nobody here wrote: curl, tftp-hpa's tftp and atftp.
#include "tests/transfer/tftp_test_support.h"

#include "transfer/tftp_packet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

using namespace tftptest;
using qv::tftp::kAccessViolation;
using qv::tftp::kFileNotFound;
using qv::tftp::kSuccess;

namespace {

const std::vector<ExternalClient> kClients = externalClients();

class TftpClients : public ServerFixture {};

TEST_F(TftpClients, SmallFilesTravelBothWaysWithEveryClient) {
    const qsizetype sizes[] = {1024, 100, 512, 0, 1300};
    quint32 seed = 1;
    for (const ExternalClient& c : kClients) {
        for (const qsizetype size : sizes) {
            SCOPED_TRACE(std::string(c.name) + " size " + std::to_string(size));
            const QByteArray content = patternBytes(size, seed++);
            writeFile(path("served.bin"), content);
            const QString local = work.filePath(QStringLiteral("got-%1").arg(seed));

            const auto got = runClient(c.get(port(), "served.bin", local), 20000);
            const int readSession = lastSessionNumber();
            ASSERT_TRUE(waitSessionEnded(readSession));
            EXPECT_EQ(got.exitCode, 0) << got.output.toStdString();
            EXPECT_EQ(readFile(local), content);
            EXPECT_EQ(outcome(readSession), kSuccess);
            const Event done = finalEvent(readSession);
            EXPECT_EQ(done.totalBytes, size);
            EXPECT_EQ(done.fileSize, size);

            // The upload replaces an earlier file of a different length.
            writeFile(path("stored.bin"), QByteArray(700, 'x'));
            const QByteArray upload = patternBytes(size, seed++);
            const QString source = work.filePath(QStringLiteral("put-%1").arg(seed));
            writeFile(source, upload);
            const auto put = runClient(c.put(port(), source, "stored.bin"), 20000);
            const int writeSession = lastSessionNumber();
            ASSERT_NE(writeSession, readSession);
            ASSERT_TRUE(waitSessionEnded(writeSession));
            EXPECT_EQ(put.exitCode, 0) << put.output.toStdString();
            EXPECT_EQ(readFile(path("stored.bin")), upload);
            EXPECT_EQ(outcome(writeSession), kSuccess);
            EXPECT_EQ(finalEvent(writeSession).totalBytes, size);
            EXPECT_EQ(strayFiles({"served.bin", "stored.bin"}), QStringList());
        }
    }
}

TEST_F(TftpClients, FortyMebibytesBothWaysPastTheBlockNumberWrap) {
    // 40 MiB is 81920 blocks of 512 bytes: the block number wraps after 65535, and the file ends
    // on a full block, so an empty block closes it.
    constexpr qsizetype kSize = 40 * 1024 * 1024;
    writeFile(path("big.bin"), patternBytes(kSize, 40));
    const QByteArray expected = fileSha1(path("big.bin"));
    struct Case {
        const char* client;
        ClientCommand get;
        ClientCommand put;
    };
    const QString got = work.filePath("big-got.bin");
    const Case cases[] = {
        {"curl", curlGet(port(), "big.bin", got, 120), curlPut(port(), got, "big-up.bin", 120)},
        {"tftp-hpa", hpaGet(port(), "big.bin", got), hpaPut(port(), got, "big-up.bin")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.client);
        QFile::remove(got);
        QFile::remove(path("big-up.bin"));
        const auto fetched = runClient(c.get, 120000);
        EXPECT_EQ(fetched.exitCode, 0) << fetched.output.toStdString();
        ASSERT_TRUE(waitSessionEnded(lastSessionNumber()));
        EXPECT_EQ(outcome(lastSessionNumber()), kSuccess);
        EXPECT_EQ(finalEvent(lastSessionNumber()).totalBytes, kSize);
        EXPECT_EQ(fileSha1(got), expected);

        const auto stored = runClient(c.put, 120000);
        EXPECT_EQ(stored.exitCode, 0) << stored.output.toStdString();
        ASSERT_TRUE(waitSessionEnded(lastSessionNumber()));
        EXPECT_EQ(outcome(lastSessionNumber()), kSuccess);
        EXPECT_EQ(finalEvent(lastSessionNumber()).totalBytes, kSize);
        EXPECT_EQ(fileSha1(path("big-up.bin")), expected);
    }
}

TEST_F(TftpClients, MissingAndUncreatableFilesFailTheClientAndReportTheEvent) {
    QDir(dir.path()).mkdir("adir");
    const QString source = work.filePath("source.bin");
    writeFile(source, patternBytes(3000, 2));
    for (const ExternalClient& c : kClients) {
        SCOPED_TRACE(c.name);
        const QString local = work.filePath(QStringLiteral("missing-%1").arg(c.name));
        const auto got = runClient(c.get(port(), "missing.bin", local), 20000);
        EXPECT_NE(got.exitCode, 0) << got.output.toStdString();
        ASSERT_TRUE(waitSessionEnded(lastSessionNumber()));
        EXPECT_EQ(outcome(lastSessionNumber()), kFileNotFound);

        // The target is a directory: nothing can be created under that name.
        const auto put = runClient(c.put(port(), source, "adir"), 20000);
        EXPECT_NE(put.exitCode, 0) << put.output.toStdString();
        ASSERT_TRUE(waitSessionEnded(lastSessionNumber()));
        EXPECT_EQ(outcome(lastSessionNumber()), kAccessViolation);
        EXPECT_TRUE(QFileInfo(path("adir")).isDir());
    }
    EXPECT_EQ(strayFiles({}), QStringList());
}

TEST_F(TftpClients, NamesThatLeaveTheRootAreRefused) {
    // The root is a directory inside `work`; "../victim" would reach the client side.
    const QString victim =
        QFileInfo(dir.path()).absolutePath() + "/victim-" + QFileInfo(dir.path()).fileName();
    writeFile(victim, "precious");
    const QString victimName = QFileInfo(victim).fileName();
    const QString source = work.filePath("evil.bin");
    writeFile(source, "overwritten");
    const QString names[] = {"../" + victimName, victim};
    for (const ExternalClient& c : kClients) {
        for (const QString& name : names) {
            SCOPED_TRACE(std::string(c.name) + " " + name.toStdString());
            const QString local = work.filePath("stolen.bin");
            QFile::remove(local);
            const auto got = runClient(c.get(port(), name, local), 20000);
            EXPECT_NE(got.exitCode, 0) << got.output.toStdString();
            EXPECT_NE(readFile(local), "precious");
            ASSERT_TRUE(waitSessionEnded(lastSessionNumber()));
            EXPECT_EQ(outcome(lastSessionNumber()), kAccessViolation);

            const auto put = runClient(c.put(port(), source, name), 20000);
            EXPECT_NE(put.exitCode, 0) << put.output.toStdString();
            ASSERT_TRUE(waitSessionEnded(lastSessionNumber()));
            EXPECT_EQ(outcome(lastSessionNumber()), kAccessViolation);
            EXPECT_EQ(readFile(victim), "precious");
        }
    }
    EXPECT_EQ(strayFiles({}), QStringList());
    QFile::remove(victim);
}

TEST_F(TftpClients, OnlyTheManagedDeviceMayOpenASession) {
    writeFile(path("config.kcf"), "settings");
    writeFile(path("stored.kcf"), "earlier");
    const QString source = work.filePath("source.kcf");
    writeFile(source, "replacement");
    server->SetDeviceAddress("127.0.0.2"); // the clients all speak from 127.0.0.1
    for (const ExternalClient& c : kClients) {
        SCOPED_TRACE(c.name);
        const std::size_t before = events.size();
        const QString local = work.filePath("got.kcf");
        QFile::remove(local);
        const auto got = runClient(c.get(port(), "config.kcf", local), 20000);
        EXPECT_NE(got.exitCode, 0) << got.output.toStdString();
        EXPECT_NE(readFile(local), "settings");
        const auto put = runClient(c.put(port(), source, "stored.kcf"), 20000);
        EXPECT_NE(put.exitCode, 0) << put.output.toStdString();
        EXPECT_EQ(readFile(path("stored.kcf")), "earlier");
        ASSERT_GE(events.size(), before + 2);
        for (std::size_t i = before; i < events.size(); ++i) {
            EXPECT_EQ(events[i].status, kAccessViolation);
            EXPECT_EQ(events[i].clientAddress, "127.0.0.1");
        }
    }
    EXPECT_EQ(lastSessionNumber(), -1) << "no session was opened";
    EXPECT_EQ(strayFiles({"config.kcf", "stored.kcf"}), QStringList());
}

} // namespace
