// Exchanges with a peer of the test's own, packet by packet: what goes out, when it goes out
// again, and what the server refuses.
#include "tests/transfer/tftp_test_support.h"

#include "snmplib/qv_exception.h"
#include "transfer/tftp_packet.h"

#include "platform/timers.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

using namespace tftptest;
using namespace qv::tftp;

namespace {

QByteArray ack(quint16 block) {
    return ackPacket(block);
}

struct Packet {
    quint16 opcode = 0;
    quint16 block = 0; // block number, or the error code of an ERROR
    QByteArray payload;
    quint16 fromPort = 0;
};

std::optional<Packet> next(RawPeer& peer, int timeoutMs = 3000) {
    const auto d = peer.receive(timeoutMs);
    if (!d)
        return std::nullopt;
    return Packet{opcodeOf(d->data()), blockOf(d->data()), payloadOf(d->data()).toByteArray(),
                  static_cast<quint16>(d->senderPort())};
}

class TftpProtocol : public ServerFixture {
protected:
    // Short deadlines so that retransmissions and give-ups happen within the test.
    void shortTimeouts(int maxSends = 3) { server->SetTimeouts(5, maxSends); }
};

TEST_F(TftpProtocol, ReadSessionSendsBlocksInLockStepAndEndsOnTheLastAck) {
    struct Case {
        qsizetype size;
        std::vector<int> blockSizes;
    };
    const Case cases[] = {
        {1024, {512, 512, 0}}, {100, {100}}, {0, {0}}, {512, {512, 0}}, {1300, {512, 512, 276}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("size " + std::to_string(c.size));
        const QByteArray content = patternBytes(c.size, static_cast<quint32>(c.size));
        writeFile(path("f.bin"), content);
        RawPeer peer;
        peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
        QByteArray received;
        for (std::size_t i = 0; i < c.blockSizes.size(); ++i) {
            const auto p = next(peer);
            ASSERT_TRUE(p);
            EXPECT_EQ(p->opcode, kData);
            EXPECT_EQ(p->block, i + 1);
            EXPECT_EQ(p->payload.size(), c.blockSizes[i]);
            EXPECT_NE(p->fromPort, port()) << "data comes from the session's own port";
            received += p->payload;
            peer.sendTo(p->fromPort, ack(p->block));
        }
        EXPECT_EQ(received, content);
        const int session = lastSessionNumber();
        ASSERT_TRUE(waitSessionGone(session));
        EXPECT_FALSE(next(peer, 100)) << "nothing after the last ACK";
        std::vector<int> expected{kConnected};
        expected.insert(expected.end(), c.blockSizes.size(), kTransferring);
        expected.push_back(kSuccess);
        expected.push_back(kDisconnected);
        EXPECT_EQ(statuses(session), expected);
        EXPECT_EQ(sessionEvents(session).back().totalBytes, c.size);
        EXPECT_EQ(sessionEvents(session).back().clientAddress, "127.0.0.1");
    }
}

TEST_F(TftpProtocol, DuplicateAckNeitherResendsNorAdvances) {
    writeFile(path("f.bin"), patternBytes(1024, 7));
    RawPeer peer;
    peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
    const auto d1 = next(peer);
    ASSERT_TRUE(d1);
    peer.sendTo(d1->fromPort, ack(1));
    const auto d2 = next(peer);
    ASSERT_TRUE(d2);
    EXPECT_EQ(d2->block, 2);
    peer.sendTo(d1->fromPort, ack(1)); // late duplicate
    peer.sendTo(d1->fromPort, ack(0)); // never-sent block
    EXPECT_FALSE(next(peer, 200));
    peer.sendTo(d1->fromPort, ack(2));
    const auto d3 = next(peer);
    ASSERT_TRUE(d3);
    EXPECT_EQ(d3->block, 3);
    EXPECT_EQ(d3->payload.size(), 0);
}

TEST_F(TftpProtocol, RepeatedRequestStartsOneSession) {
    writeFile(path("f.bin"), patternBytes(600, 3));
    RawPeer peer;
    peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
    peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
    const auto first = next(peer);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->block, 1);
    EXPECT_FALSE(next(peer, 200)) << "the repeat must not open a second session";
    EXPECT_EQ(lastSessionNumber(), 0);

    // The same name from another port is another request.
    RawPeer other;
    other.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
    ASSERT_TRUE(next(other));
    EXPECT_EQ(lastSessionNumber(), 1);

    // A repeated write request means our ACK 0 went astray: it is sent again, from the same
    // session, which then takes the upload.
    RawPeer writer;
    writer.sendTo(port(), requestPacket(kWriteRequest, "up.bin"));
    const auto a0 = next(writer);
    ASSERT_TRUE(a0);
    writer.sendTo(port(), requestPacket(kWriteRequest, "up.bin"));
    const auto again = next(writer);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->opcode, kAck);
    EXPECT_EQ(again->block, 0);
    EXPECT_EQ(again->fromPort, a0->fromPort);
    EXPECT_EQ(lastSessionNumber(), 2);
    writer.sendTo(a0->fromPort, dataPacket(1, "x"));
    ASSERT_TRUE(next(writer));
    ASSERT_TRUE(waitSessionEnded(2));
    EXPECT_EQ(outcome(2), kSuccess);
    EXPECT_EQ(readFile(path("up.bin")), "x");
}

TEST_F(TftpProtocol, StrangerPacketsGetUnknownTransferIdAndLeaveTheSessionAlone) {
    const QByteArray content = patternBytes(1500, 11);
    writeFile(path("f.bin"), content);
    writeFile(path("up.bin"), "earlier");
    struct Intruder {
        const char* what;
        QHostAddress address;
    };
    const Intruder intruders[] = {
        {"another port of the device", QHostAddress::LocalHost},
        {"another host", QHostAddress("127.0.0.2")},
    };
    for (const Intruder& who : intruders) {
        SCOPED_TRACE(who.what);
        // Download: a stranger acknowledges the block in flight.
        RawPeer peer;
        RawPeer intruder(who.address);
        peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
        const auto d1 = next(peer);
        ASSERT_TRUE(d1);
        intruder.sendTo(d1->fromPort, ack(1));
        const auto refused = next(intruder);
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->opcode, kError);
        EXPECT_EQ(refused->block, kErrUnknownTransferId);
        EXPECT_FALSE(next(peer, 100)) << "the stranger's ACK must not advance the session";
        QByteArray got = d1->payload;
        peer.sendTo(d1->fromPort, ack(1));
        for (quint16 b = 2; b <= 3; ++b) {
            const auto d = next(peer);
            ASSERT_TRUE(d);
            EXPECT_EQ(d->block, b);
            got += d->payload;
            peer.sendTo(d->fromPort, ack(b));
        }
        EXPECT_EQ(got, content);
        const int readSession = lastSessionNumber();
        ASSERT_TRUE(waitSessionEnded(readSession));
        EXPECT_EQ(outcome(readSession), kSuccess);

        // Upload: a stranger's DATA neither lands in the file nor ends the session.
        peer.sendTo(port(), requestPacket(kWriteRequest, "up.bin"));
        const auto a0 = next(peer);
        ASSERT_TRUE(a0);
        EXPECT_EQ(a0->opcode, kAck);
        EXPECT_EQ(a0->block, 0);
        intruder.sendTo(a0->fromPort, dataPacket(1, "forged"));
        const auto refusedData = next(intruder);
        ASSERT_TRUE(refusedData);
        EXPECT_EQ(refusedData->opcode, kError);
        EXPECT_EQ(refusedData->block, kErrUnknownTransferId);
        peer.sendTo(a0->fromPort, dataPacket(1, "genuine"));
        const auto a1 = next(peer);
        ASSERT_TRUE(a1);
        EXPECT_EQ(a1->block, 1);
        const int writeSession = lastSessionNumber();
        ASSERT_TRUE(waitSessionEnded(writeSession));
        EXPECT_EQ(outcome(writeSession), kSuccess);
        EXPECT_EQ(readFile(path("up.bin")), "genuine");
        writeFile(path("up.bin"), "earlier");
    }
}

TEST_F(TftpProtocol, UnansweredBlockIsResentUnchangedUntilMaxSendsThenTimesOut) {
    shortTimeouts(3);
    const QByteArray content = patternBytes(700, 5);
    writeFile(path("f.bin"), content);
    RawPeer peer;
    peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
    std::vector<Packet> copies;
    while (auto p = next(peer, 1000))
        copies.push_back(*p);
    ASSERT_EQ(copies.size(), 3u) << "maxSends 3: the block goes out three times";
    for (const Packet& p : copies) {
        EXPECT_EQ(p.block, 1);
        EXPECT_EQ(p.payload, content.left(512)) << "a resend repeats the block byte for byte";
    }
    const int session = lastSessionNumber();
    ASSERT_TRUE(waitSessionGone(session));
    const auto events = sessionEvents(session);
    EXPECT_EQ(statuses(session), (std::vector<int>{kConnected, kTransferring, kTransferring,
                                                   kTransferring, kTimeout, kDisconnected}));
    EXPECT_EQ(events[3].sendCount, 3);
    EXPECT_EQ(events[4].statusText, "(QvTFTP) Timeout!");
}

TEST_F(TftpProtocol, LostAckIsRecoveredInBothDirections) {
    shortTimeouts(3);
    // Download: our ACK of block 1 is "lost"; the server resends block 1 and goes on once the
    // ACK arrives.
    const QByteArray content = patternBytes(1000, 9);
    writeFile(path("f.bin"), content);
    RawPeer peer;
    peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
    const auto d1 = next(peer);
    ASSERT_TRUE(d1);
    const auto again = next(peer, 1000);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->block, 1);
    EXPECT_EQ(again->payload, d1->payload);
    peer.sendTo(d1->fromPort, ack(1));
    auto d2 = next(peer);
    ASSERT_TRUE(d2);
    EXPECT_EQ(d2->block, 2);
    EXPECT_EQ(d1->payload + d2->payload, content);
    peer.sendTo(d1->fromPort, ack(2));
    ASSERT_TRUE(waitSessionEnded(lastSessionNumber()));
    EXPECT_EQ(outcome(lastSessionNumber()), kSuccess);

    // Upload: the server's ACK of block 1 is "lost"; the client sends block 1 again and gets the
    // ACK again; the block is written once.
    server->SetTimeouts(100, 3);
    const QByteArray first = patternBytes(512, 1);
    peer.sendTo(port(), requestPacket(kWriteRequest, "up.bin"));
    const auto a0 = next(peer);
    ASSERT_TRUE(a0);
    peer.sendTo(a0->fromPort, dataPacket(1, first));
    ASSERT_TRUE(next(peer));
    peer.sendTo(a0->fromPort, dataPacket(1, first));
    const auto reAck = next(peer);
    ASSERT_TRUE(reAck);
    EXPECT_EQ(reAck->opcode, kAck);
    EXPECT_EQ(reAck->block, 1);
    peer.sendTo(a0->fromPort, dataPacket(3, "skipped a block"));
    EXPECT_FALSE(next(peer, 150)) << "only the next block is accepted";
    peer.sendTo(a0->fromPort, dataPacket(2, "end"));
    const auto a2 = next(peer);
    ASSERT_TRUE(a2);
    EXPECT_EQ(a2->block, 2);
    const int session = lastSessionNumber();
    ASSERT_TRUE(waitSessionEnded(session));
    EXPECT_EQ(outcome(session), kSuccess);
    EXPECT_EQ(readFile(path("up.bin")), first + "end");
    EXPECT_EQ(sessionEvents(session).back().totalBytes, 515);

    // Our last ACK is lost too: the repeated last block is acknowledged again.
    peer.sendTo(a0->fromPort, dataPacket(2, "end"));
    const auto lastAgain = next(peer);
    ASSERT_TRUE(lastAgain);
    EXPECT_EQ(lastAgain->opcode, kAck);
    EXPECT_EQ(lastAgain->block, 2);
    EXPECT_EQ(readFile(path("up.bin")), first + "end");
}

TEST_F(TftpProtocol, SilentUploadTimesOutOnceWithoutResendingAndKeepsTheEarlierFile) {
    shortTimeouts(3);
    writeFile(path("up.bin"), "earlier");
    RawPeer peer;
    peer.sendTo(port(), requestPacket(kWriteRequest, "up.bin"));
    const auto a0 = next(peer);
    ASSERT_TRUE(a0);
    peer.sendTo(a0->fromPort, dataPacket(1, patternBytes(512, 2)));
    const auto a1 = next(peer);
    ASSERT_TRUE(a1);
    EXPECT_EQ(a1->block, 1);
    const int session = lastSessionNumber();
    ASSERT_TRUE(waitSessionGone(session));
    EXPECT_FALSE(next(peer, 100)) << "an upload never resends its ACK";
    EXPECT_EQ(outcome(session), kTimeout);
    EXPECT_EQ(readFile(path("up.bin")), "earlier");
    EXPECT_EQ(strayFiles({"up.bin"}), QStringList());
}

TEST_F(TftpProtocol, CancelFlagStopsTheSessionAtItsNextStep) {
    writeFile(path("f.bin"), patternBytes(2000, 4));
    writeFile(path("up.bin"), "earlier");
    onEvent = [](QvTFTPMsg* m, bool* cancel) {
        if (m->status == kTransferring && m->totalBytes >= 512)
            *cancel = true;
    };
    RawPeer peer;
    peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
    const auto d1 = next(peer);
    ASSERT_TRUE(d1);
    peer.sendTo(d1->fromPort, ack(1));
    EXPECT_FALSE(next(peer, 150)) << "no further block after the cancel";
    ASSERT_TRUE(waitSessionGone(0));
    EXPECT_EQ(outcome(0), kCanceled);

    peer.sendTo(port(), requestPacket(kWriteRequest, "up.bin"));
    const auto a0 = next(peer);
    ASSERT_TRUE(a0);
    peer.sendTo(a0->fromPort, dataPacket(1, patternBytes(512, 8)));
    ASSERT_TRUE(next(peer));
    peer.sendTo(a0->fromPort, dataPacket(2, patternBytes(512, 8)));
    EXPECT_FALSE(next(peer, 150));
    ASSERT_TRUE(waitSessionGone(1));
    EXPECT_EQ(outcome(1), kCanceled);
    EXPECT_EQ(readFile(path("up.bin")), "earlier");
    EXPECT_EQ(strayFiles({"f.bin", "up.bin"}), QStringList());
}

TEST_F(TftpProtocol, PeerErrorEndsTheSessionWithItsCode) {
    writeFile(path("f.bin"), patternBytes(2000, 4));
    writeFile(path("up.bin"), "earlier");
    RawPeer peer;
    peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
    const auto d1 = next(peer);
    ASSERT_TRUE(d1);
    peer.sendTo(d1->fromPort, errorPacket(kErrDiskFull));
    ASSERT_TRUE(waitSessionGone(0, 2000));
    EXPECT_EQ(outcome(0), kDiskFull);

    peer.sendTo(port(), requestPacket(kWriteRequest, "up.bin"));
    const auto a0 = next(peer);
    ASSERT_TRUE(a0);
    peer.sendTo(a0->fromPort, dataPacket(1, patternBytes(512, 8)));
    ASSERT_TRUE(next(peer));
    peer.sendTo(a0->fromPort, errorPacket(kErrUndefined));
    ASSERT_TRUE(waitSessionGone(1, 2000));
    EXPECT_EQ(outcome(1), kUndefinedError);
    EXPECT_EQ(readFile(path("up.bin")), "earlier");
    EXPECT_EQ(strayFiles({"f.bin", "up.bin"}), QStringList());
}

TEST_F(TftpProtocol, NamesOutsideTheRootAreRefusedWithAccessViolation) {
    // A file beside the root that a climbing name would reach.
    const QString outside =
        QFileInfo(dir.path()).absolutePath() + "/outside-" + QFileInfo(dir.path()).fileName();
    writeFile(outside, "secret");
    QDir(dir.path()).mkdir("sub");
    writeFile(path("sub/inner"), "inner");
    const QString outsideName = QFileInfo(outside).fileName();
    const QString names[] = {
        "../" + outsideName,
        "..\\" + outsideName,
        outside,
        "sub/inner",
        "sub\\inner",
        "..",
        ".",
        "",
        "C:x",
    };
    int session = -1;
    for (const quint16 op : {kReadRequest, kWriteRequest}) {
        for (const QString& name : names) {
            SCOPED_TRACE((op == kReadRequest ? "read " : "write ") + name.toStdString());
            RawPeer peer;
            peer.sendTo(port(), requestPacket(op, name));
            const auto p = next(peer);
            ASSERT_TRUE(p);
            EXPECT_EQ(p->opcode, kError);
            EXPECT_EQ(p->block, kErrAccessViolation);
            ++session;
            ASSERT_TRUE(waitSessionEnded(session));
            EXPECT_EQ(outcome(session), kAccessViolation);
        }
    }
    EXPECT_EQ(readFile(outside), "secret");
    EXPECT_EQ(readFile(path("sub/inner")), "inner");
    EXPECT_EQ(strayFiles({}), QStringList());
    QFile::remove(outside);
}

// A local user may place symbolic links inside the root: one that leads out of it is refused for
// reading and for writing (a dangling one too, since the upload would create its target), while a
// link to a file inside the root still serves that file.
TEST_F(TftpProtocol, LinksLeadingOutOfTheRootAreRefused) {
    const QString outside = work.filePath("secret.bin");
    writeFile(outside, "secret");
    QDir(work.path()).mkdir("outdir");
    writeFile(path("inside.bin"), "inside");
    ASSERT_TRUE(QFile::link(outside, path("to-outside")));
    ASSERT_TRUE(QFile::link(work.filePath("not-yet.bin"), path("dangling")));
    ASSERT_TRUE(QFile::link(path("to-outside"), path("chain"))); // a link to the link
    ASSERT_TRUE(
        QFile::link("../" + QFileInfo(work.path()).fileName() + "/secret.bin", path("relative")));
    ASSERT_TRUE(QFile::link(work.filePath("outdir"), path("outdir")));
    ASSERT_TRUE(QFile::link(path("loop-b"), path("loop-a")));
    ASSERT_TRUE(QFile::link(path("loop-a"), path("loop-b")));
    ASSERT_TRUE(QFile::link("inside.bin", path("to-inside")));
    int session = -1;
    for (const quint16 op : {kReadRequest, kWriteRequest}) {
        for (const char* name : {"to-outside", "dangling", "chain", "relative", "loop-a"}) {
            SCOPED_TRACE((op == kReadRequest ? "read " : "write ") + std::string(name));
            RawPeer peer;
            peer.sendTo(port(), requestPacket(op, name));
            const auto p = next(peer);
            ASSERT_TRUE(p);
            EXPECT_EQ(p->opcode, kError);
            EXPECT_EQ(p->block, kErrAccessViolation);
            ++session;
            ASSERT_TRUE(waitSessionEnded(session));
            EXPECT_EQ(outcome(session), kAccessViolation);
        }
    }
    EXPECT_EQ(readFile(outside), "secret");
    EXPECT_FALSE(QFile::exists(work.filePath("not-yet.bin")));

    RawPeer peer;
    peer.sendTo(port(), requestPacket(kReadRequest, "to-inside"));
    const auto d = next(peer);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->opcode, kData);
    EXPECT_EQ(d->payload, "inside");
    peer.sendTo(d->fromPort, ack(1));
    ++session;
    ASSERT_TRUE(waitSessionEnded(session));
    EXPECT_EQ(outcome(session), kSuccess);

    // Checked one by one, including a root that is itself reached through a link.
    const QString linkedRoot = work.filePath("root-link");
    ASSERT_TRUE(QFile::link(dir.path(), linkedRoot));
    EXPECT_TRUE(staysInsideRoot(linkedRoot + "/", linkedRoot + "/to-inside"));
    EXPECT_TRUE(staysInsideRoot(linkedRoot + "/", linkedRoot + "/new-file"));
    EXPECT_FALSE(staysInsideRoot(linkedRoot + "/", linkedRoot + "/to-outside"));
    EXPECT_FALSE(staysInsideRoot(root(), path("outdir") + "/x"));
    EXPECT_FALSE(staysInsideRoot(root(), work.filePath("secret.bin")));
}

// A request whose file name does not fit the 2048-byte receive buffer (or whose texts are not
// ended) is answered with an ERROR instead of silence: the device hears "illegal operation" and
// the page a bad packet; a stranger is refused as any stranger. No session is opened.
TEST_F(TftpProtocol, RequestThatCannotBeReadIsAnsweredWithAnError) {
    struct Case {
        const char* title;
        QByteArray datagram;
        QHostAddress from;
        quint16 errorCode;
        int event;
    };
    const QString longName(3000, u'n');
    const Case cases[] = {
        {"long read request", requestPacket(kReadRequest, longName), QHostAddress::LocalHost,
         kErrIllegalOperation, kBadPacket},
        {"long write request", requestPacket(kWriteRequest, longName), QHostAddress::LocalHost,
         kErrIllegalOperation, kBadPacket},
        {"name without its end", QByteArray("\0\1name-only", 11), QHostAddress::LocalHost,
         kErrIllegalOperation, kBadPacket},
        {"mode without its end", QByteArray("\0\2f\0octet", 9), QHostAddress::LocalHost,
         kErrIllegalOperation, kBadPacket},
        {"stranger's long request", requestPacket(kReadRequest, longName),
         QHostAddress("127.0.0.2"), kErrAccessViolation, kAccessViolation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        events.clear();
        RawPeer peer(c.from);
        peer.sendTo(port(), c.datagram);
        const auto p = next(peer);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->opcode, kError);
        EXPECT_EQ(p->block, c.errorCode);
        EXPECT_EQ(p->fromPort, port());
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].status, c.event);
        EXPECT_FALSE(events[0].fileName.isEmpty());
    }
    EXPECT_EQ(lastSessionNumber(), -1);
    EXPECT_EQ(strayFiles({}), QStringList());
}

TEST_F(TftpProtocol, RegisteredExactNameBypassesTheNameChecks) {
    const QString full = work.filePath("LogFile.RD");
    server->RegisterFileName(full);
    RawPeer peer;
    peer.sendTo(port(), requestPacket(kWriteRequest, full));
    const auto a0 = next(peer);
    ASSERT_TRUE(a0);
    EXPECT_EQ(a0->opcode, kAck);
    peer.sendTo(a0->fromPort, dataPacket(1, "log line"));
    ASSERT_TRUE(next(peer));
    ASSERT_TRUE(waitSessionEnded(0));
    EXPECT_EQ(outcome(0), kSuccess);
    EXPECT_EQ(readFile(full), "log line");

    // Only the exact name: a sibling of it stays refused, and so does the name once unregistered.
    const QString sibling = work.filePath("other.RD");
    peer.sendTo(port(), requestPacket(kWriteRequest, sibling));
    const auto refused = next(peer);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->opcode, kError);
    EXPECT_FALSE(QFile::exists(sibling));
    server->UnregisterFileName(full);
    peer.sendTo(port(), requestPacket(kReadRequest, full));
    const auto refusedRead = next(peer);
    ASSERT_TRUE(refusedRead);
    EXPECT_EQ(refusedRead->opcode, kError);
    EXPECT_EQ(refusedRead->block, kErrAccessViolation);
}

TEST_F(TftpProtocol, RequestFromAnotherHostIsRefusedWithoutASession) {
    writeFile(path("f.bin"), "data");
    RawPeer stranger(QHostAddress("127.0.0.2"));
    for (const quint16 op : {kReadRequest, kWriteRequest}) {
        stranger.sendTo(port(), requestPacket(op, op == kReadRequest ? "f.bin" : "new.bin"));
        const auto p = next(stranger);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->opcode, kError);
        EXPECT_EQ(p->block, kErrAccessViolation);
        EXPECT_EQ(p->fromPort, port());
    }
    pumpFor(50);
    EXPECT_EQ(lastSessionNumber(), -1);
    ASSERT_EQ(events.size(), 2u);
    for (const Event& e : events) {
        EXPECT_EQ(e.status, kAccessViolation);
        EXPECT_EQ(e.clientAddress, "127.0.0.2");
    }
    EXPECT_EQ(strayFiles({"f.bin"}), QStringList());
}

TEST_F(TftpProtocol, MissingOrUncreatableFiles) {
    QDir(dir.path()).mkdir("adir");
    struct Case {
        quint16 op;
        QString name;
        quint16 error;
        int event;
    };
    const Case cases[] = {
        {kReadRequest, "missing.bin", kErrFileNotFound, kFileNotFound},
        {kReadRequest, "adir", kErrFileNotFound, kFileNotFound},
        {kWriteRequest, "adir", kErrAccessViolation, kAccessViolation},
    };
    int session = -1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        RawPeer peer;
        peer.sendTo(port(), requestPacket(c.op, c.name));
        const auto p = next(peer);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->opcode, kError);
        EXPECT_EQ(p->block, c.error);
        ++session;
        ASSERT_TRUE(waitSessionGone(session));
        EXPECT_EQ(statuses(session), (std::vector<int>{kConnected, c.event, kDisconnected}));
    }
    // A root that does not exist: nothing can be read or created in it.
    server->Start(dir.filePath("no-such-dir"), 0);
    for (const quint16 op : {kReadRequest, kWriteRequest}) {
        RawPeer peer;
        peer.sendTo(port(), requestPacket(op, "x.bin"));
        const auto p = next(peer);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->opcode, kError);
        ++session;
        ASSERT_TRUE(waitSessionEnded(session));
        EXPECT_EQ(outcome(session), op == kReadRequest ? kFileNotFound : kAccessViolation);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("no-such-dir")));
}

TEST_F(TftpProtocol, StartJoinsTheRootAndKeepsThePortWhileListening) {
    QDir(dir.path()).mkdir("fw");
    writeFile(path("fw/image.tfp"), "firmware");
    writeFile(path("image.tfp"), "wrong one");
    const quint16 listening = port();
    // Without a trailing separator, and with the other separator.
    for (const QString& root : {dir.filePath("fw"), dir.filePath("fw").replace('/', '\\')}) {
        SCOPED_TRACE(root.toStdString());
        server->Start(root, 0);
        EXPECT_EQ(port(), listening);
        EXPECT_EQ(server->rootDirectory(), dir.filePath("fw") + "/");
        const QString local = work.filePath("got.tfp");
        const auto run = runClient(curlGet(port(), "image.tfp", local), 10000);
        EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
        EXPECT_EQ(readFile(local), "firmware");
    }
    // The empty root serves names relative to the working directory.
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    server->Start("", 0);
    EXPECT_EQ(server->rootDirectory(), "");
    const QString local = work.filePath("got2.tfp");
    const auto run = runClient(curlGet(port(), "image.tfp", local), 10000);
    QDir::setCurrent(cwd);
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(readFile(local), "wrong one");
}

TEST(TftpServerStart, PortInUseRaisesSocketFailure) {
    QUdpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::AnyIPv4, 0));
    QvTFTPServer server;
    try {
        server.Start("", holder.localPort());
        FAIL() << "Start on a port in use must raise";
    } catch (const QvException& e) {
        EXPECT_EQ(e.code(), kSocketFailure);
        EXPECT_EQ(e.text(), "(QvTFTP) Fail to open socket!Please check if the network is ready.");
    }
    EXPECT_FALSE(server.isListening());
}

TEST(TftpServerStart, StandardPortGivesWayToTheEnvironment) {
    struct Case {
        const char* env; // nullptr: unset
        quint16 requested;
        quint16 expected;
    };
    const Case cases[] = {
        {nullptr, 69, 69}, {"16969", 69, 16969}, {"16969", 2000, 2000},
        {"junk", 69, 69},  {"70000", 69, 69},    {"0", 69, 69},
    };
    const QByteArray saved = qgetenv("KW9100_TFTP_PORT");
    const bool wasSet = qEnvironmentVariableIsSet("KW9100_TFTP_PORT");
    for (const Case& c : cases) {
        if (c.env)
            qputenv("KW9100_TFTP_PORT", c.env);
        else
            qunsetenv("KW9100_TFTP_PORT");
        EXPECT_EQ(effectivePort(c.requested), c.expected) << (c.env ? c.env : "unset");
    }
    if (wasSet)
        qputenv("KW9100_TFTP_PORT", saved);
    else
        qunsetenv("KW9100_TFTP_PORT");
}

TEST_F(TftpProtocol, StopWaitsForRunningSessionsAtMostTheDrainTime) {
    // A download whose peer went silent ends by time-out during the wait.
    shortTimeouts(2);
    writeFile(path("f.bin"), patternBytes(4000, 1));
    RawPeer peer;
    peer.sendTo(port(), requestPacket(kReadRequest, "f.bin"));
    ASSERT_TRUE(next(peer));
    server->Stop();
    EXPECT_FALSE(server->isListening());
    EXPECT_EQ(server->sessionCount(), 0);
    EXPECT_EQ(statuses(0).back(), kDisconnected);
    EXPECT_EQ(outcome(0), kTimeout);

    // An upload that outlives the (sped-up) drain is dropped when the server goes; the earlier
    // file stays.
    writeFile(path("up.bin"), "earlier");
    server->SetTimeouts(100000, 3);
    server->Start(dir.path(), 0);
    peer.sendTo(port(), requestPacket(kWriteRequest, "up.bin"));
    const auto a0 = next(peer);
    ASSERT_TRUE(a0);
    peer.sendTo(a0->fromPort, dataPacket(1, patternBytes(512, 3)));
    ASSERT_TRUE(next(peer));
    platform::setTimerSpeed(100);
    QElapsedTimer waited;
    waited.start();
    server->Stop();
    platform::setTimerSpeed(1);
    EXPECT_GE(waited.elapsed(), 90);
    EXPECT_LT(waited.elapsed(), 5000);
    EXPECT_EQ(server->sessionCount(), 1);
    server.reset();
    EXPECT_EQ(statuses(1).back(), kDisconnected);
    EXPECT_EQ(readFile(path("up.bin")), "earlier");
    EXPECT_EQ(strayFiles({"f.bin", "up.bin"}), QStringList());
}

} // namespace
