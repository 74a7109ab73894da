// Transfers through a relay that loses one datagram in ten, both ways: each one either completes
// byte for byte or fails cleanly, and a failed upload leaves the earlier file as it was.
#include "tests/transfer/tftp_test_support.h"

#include <cstdio>
#include <QFile>
#include <QFileInfo>

using namespace tftptest;
using qv::tftp::kSuccess;

namespace {

// curl retransmits every second and gives up after 5 s.
const std::vector<ExternalClient> kClients = externalClients(5);

class TftpLossy : public ServerFixture {};

TEST_F(TftpLossy, EveryTransferCompletesIntactOrFailsCleanly) {
    // Two transfers per client and direction: one ending on a short block, one on a full block.
    const qsizetype sizes[] = {5000, 3072};
    std::vector<std::unique_ptr<LossyRelay>> relays;
    int completed = 0;
    quint32 seed = 100;

    // Downloads: the server resends a block after 300 ms, up to eight times.
    server->SetTimeouts(30, 8);
    std::vector<ClientCommand> gets;
    std::vector<std::pair<QString, QByteArray>> expectGets; // local file, content
    for (const ExternalClient& c : kClients) {
        for (const qsizetype size : sizes) {
            const QString name = QStringLiteral("get-%1-%2.bin").arg(c.name).arg(size);
            const QByteArray content = patternBytes(size, seed);
            writeFile(path(name), content);
            relays.push_back(std::make_unique<LossyRelay>(port(), 0.1, seed++));
            const QString local = work.filePath(name);
            gets.push_back(c.get(relays.back()->port(), name, local));
            expectGets.emplace_back(local, content);
        }
    }
    const auto getRuns = runClients(gets, 30000);
    for (std::size_t i = 0; i < getRuns.size(); ++i) {
        SCOPED_TRACE(gets[i].program.toStdString() + " " + gets[i].args.join(' ').toStdString());
        ASSERT_TRUE(getRuns[i].finished) << getRuns[i].output.toStdString();
        if (getRuns[i].exitCode == 0) {
            EXPECT_EQ(readFile(expectGets[i].first), expectGets[i].second)
                << "a download that reports success delivers the whole file";
            ++completed;
        }
    }

    // Uploads over earlier files: the server waits 2.5 s for the next block, so that a client
    // resending after one second survives a lost datagram.
    server->SetTimeouts(250, 3);
    std::vector<ClientCommand> puts;
    struct Upload {
        QString target;
        QByteArray earlier;
        QByteArray content;
    };
    std::vector<Upload> uploads;
    for (const ExternalClient& c : kClients) {
        for (const qsizetype size : sizes) {
            Upload u;
            u.target = QStringLiteral("put-%1-%2.bin").arg(c.name).arg(size);
            u.earlier = "earlier " + u.target.toUtf8();
            u.content = patternBytes(size, seed);
            writeFile(path(u.target), u.earlier);
            const QString source = work.filePath(u.target);
            writeFile(source, u.content);
            relays.push_back(std::make_unique<LossyRelay>(port(), 0.1, seed++));
            puts.push_back(c.put(relays.back()->port(), source, u.target));
            uploads.push_back(u);
        }
    }
    const auto putRuns = runClients(puts, 30000);
    // Sessions whose client gave up end by time-out on the server.
    for (int s = 0; s <= lastSessionNumber(); ++s)
        ASSERT_TRUE(waitSessionEnded(s, 10000)) << "session " << s;
    for (std::size_t i = 0; i < putRuns.size(); ++i) {
        const Upload& u = uploads[i];
        SCOPED_TRACE(u.target.toStdString());
        ASSERT_TRUE(putRuns[i].finished) << putRuns[i].output.toStdString();
        const QByteArray now = readFile(path(u.target));
        EXPECT_TRUE(now == u.content || now == u.earlier) << "never a partial file";
        if (putRuns[i].exitCode == 0) {
            EXPECT_EQ(now, u.content) << "an upload the client saw acknowledged is on disk";
            ++completed;
        }
        // The server's own verdict agrees with the disk.
        for (int s = 0; s <= lastSessionNumber(); ++s) {
            const Event last = finalEvent(s);
            if (last.fileName != u.target)
                continue;
            EXPECT_EQ(now, last.status == kSuccess ? u.content : u.earlier)
                << "session " << s << " ended with " << last.status;
        }
    }
    QStringList expected;
    for (const auto& [local, content] : expectGets)
        expected << QFileInfo(local).fileName();
    for (const Upload& u : uploads)
        expected << u.target;
    EXPECT_EQ(strayFiles(expected), QStringList()) << "no temporary file left behind";

    int dropped = 0;
    for (const auto& r : relays)
        dropped += r->dropped();
    EXPECT_GT(dropped, 0) << "the relay must actually lose datagrams";
    EXPECT_GT(completed, static_cast<int>(getRuns.size() + putRuns.size()) / 2)
        << "most transfers should survive 10% loss";
    std::printf("lossy relay: %d datagrams dropped, %d of %zu transfers completed\n", dropped,
                completed, getRuns.size() + putRuns.size());
}

} // namespace
