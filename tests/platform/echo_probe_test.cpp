#include "platform/echo_probe.h"

#include <deque>
#include <gtest/gtest.h>
#include <QtEndian>

namespace {

using platform::EchoPacket;

// An echo reply as a socket would deliver it, with or without an IPv4 header of `ihlWords`.
QByteArray reply(quint8 type, quint16 id, quint16 seq, bool withHeader, int ihlWords = 5,
                 int icmpLength = 12) {
    QByteArray icmp(icmpLength, '\0');
    auto* p = reinterpret_cast<uchar*>(icmp.data());
    p[0] = type;
    if (icmpLength >= 8) {
        qToBigEndian(id, p + 4);
        qToBigEndian(seq, p + 6);
    }
    if (!withHeader)
        return icmp;
    QByteArray header(ihlWords * 4, '\0');
    header[0] = static_cast<char>(0x40 | ihlWords);
    return header + icmp;
}

TEST(EchoProbe, RequestIsTwelveBytesWithValidChecksum) {
    const QByteArray req = platform::buildEchoRequest(0x1234, 7, 0xA0B0C0D0);
    ASSERT_EQ(req.size(), 12);
    const auto* p = reinterpret_cast<const uchar*>(req.constData());
    EXPECT_EQ(p[0], 8);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(qFromBigEndian<quint16>(p + 4), 0x1234);
    EXPECT_EQ(qFromBigEndian<quint16>(p + 6), 7);
    EXPECT_EQ(qFromBigEndian<quint32>(p + 8), 0xA0B0C0D0u);
    // A packet carrying its own checksum sums to zero.
    EXPECT_EQ(platform::internetChecksum(req), 0);
    // Odd length: the last byte is padded with zero.
    EXPECT_EQ(platform::internetChecksum(QByteArray::fromHex("0001f2")),
              static_cast<quint16>(~(0x0001 + 0xf200) & 0xFFFF));
}

TEST(EchoProbe, OnlyOurReplyFromTheTargetCounts) {
    const QHostAddress target("10.1.2.3");
    const QHostAddress other("10.1.2.4");
    struct Case {
        const char* name;
        EchoPacket packet;
        bool matches;
    };
    const Case cases[] = {
        {"raw reply", {reply(0, 99, 5, true), target, true}, true},
        {"raw reply with options", {reply(0, 99, 5, true, 6), target, true}, true},
        {"datagram reply", {reply(0, 99, 5, false), target, false}, true},
        {"echo request seen on raw socket", {reply(8, 99, 5, true), target, true}, false},
        {"unreachable", {reply(3, 99, 5, true), target, true}, false},
        {"other identifier", {reply(0, 98, 5, true), target, true}, false},
        {"other sequence", {reply(0, 99, 4, true), target, true}, false},
        {"other sender", {reply(0, 99, 5, true), other, true}, false},
        {"truncated", {reply(0, 99, 5, true, 5, 11), target, true}, false},
        {"header longer than packet",
         {QByteArray(1, '\x4F') + reply(0, 99, 5, true).mid(1), target, true},
         false},
        {"empty", {QByteArray(), target, true}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::isMatchingReply(c.packet, target, 99, 5), c.matches) << c.name;
}

// Replies prepared per request: the transport answers the n-th send with script[n].
class ScriptedTransport final : public platform::EchoTransport {
public:
    ScriptedTransport(std::vector<std::vector<QByteArray>> script, QHostAddress from, size_t& sends)
        : script_(std::move(script)), from_(std::move(from)), sends_(sends) {}
    quint16 identifier() const override { return 4242; }
    bool send(const QByteArray& icmp, const QHostAddress& to) override {
        Q_UNUSED(to);
        const auto n = sends_++;
        if (n < script_.size())
            for (const auto& r : script_[n]) {
                // The reply echoes the request's sequence unless the script fixed one.
                QByteArray bytes = r;
                if (bytes.size() >= 8 && qFromBigEndian<quint16>(bytes.constData() + 6) == 0)
                    qToBigEndian(qFromBigEndian<quint16>(icmp.constData() + 6),
                                 reinterpret_cast<uchar*>(bytes.data()) + 6);
                pending_.push_back(bytes);
            }
        return true;
    }
    std::optional<EchoPacket> receive(int) override {
        if (pending_.empty())
            return std::nullopt;
        const QByteArray bytes = pending_.front();
        pending_.pop_front();
        return EchoPacket{bytes, from_, false};
    }

private:
    std::vector<std::vector<QByteArray>> script_;
    std::deque<QByteArray> pending_;
    QHostAddress from_;
    size_t& sends_;
};

struct ProbeRun {
    platform::ProbeResult result;
    size_t sends;
};

ProbeRun runProbe(std::vector<std::vector<QByteArray>> script, const QString& host = "10.9.8.7") {
    size_t sends = 0;
    platform::TransportEchoProbe probe(
        [&](QString*) {
            return std::make_unique<ScriptedTransport>(script, QHostAddress("10.9.8.7"), sends);
        },
        3, 50);
    const auto result = probe.probe(host);
    return {result, sends};
}

TEST(EchoProbe, OutcomeFollowsMatchingRepliesOnly) {
    const QByteArray ours = reply(0, 4242, 0, false);
    const QByteArray foreign = reply(0, 1111, 0, false);
    const QByteArray staleSequence = reply(0, 4242, 60000, false);

    auto silent = runProbe({});
    EXPECT_EQ(silent.result.outcome, platform::ProbeOutcome::NotInUse);
    EXPECT_EQ(silent.sends, 3u);

    auto foreignOnly = runProbe({{foreign}, {foreign, staleSequence}, {foreign}});
    EXPECT_EQ(foreignOnly.result.outcome, platform::ProbeOutcome::NotInUse);
    EXPECT_EQ(foreignOnly.sends, 3u);

    // Any matching reply means in use, even when only the first request is answered.
    auto firstOnly = runProbe({{foreign, ours}});
    EXPECT_EQ(firstOnly.result.outcome, platform::ProbeOutcome::InUse);
    EXPECT_EQ(firstOnly.sends, 1u);

    auto secondOnly = runProbe({{}, {ours}});
    EXPECT_EQ(secondOnly.result.outcome, platform::ProbeOutcome::InUse);
    EXPECT_EQ(secondOnly.sends, 2u);
}

TEST(EchoProbe, UnresolvableNameSendsNothing) {
    auto run = runProbe({}, "no-such-host.invalid");
    EXPECT_EQ(run.result.outcome, platform::ProbeOutcome::Unresolved);
    EXPECT_EQ(run.result.detail, "Unable to resolve no-such-host.invalid");
    EXPECT_EQ(run.sends, 0u);
}

TEST(EchoProbe, NoSocketIsReportedNotCountedAsFree) {
    platform::TransportEchoProbe probe(
        [](QString* error) {
            *error = "denied";
            return std::unique_ptr<platform::EchoTransport>();
        },
        3, 50);
    const auto result = probe.probe("10.9.8.7");
    EXPECT_EQ(result.outcome, platform::ProbeOutcome::Unavailable);
    EXPECT_EQ(result.detail, "denied");
}

TEST(EchoProbe, LoopbackAnswersForReal) {
    QString error;
    if (!platform::openEchoTransport(&error))
        GTEST_SKIP() << error.toStdString();
    const auto result = platform::echoProbe().probe("127.0.0.1");
    EXPECT_EQ(result.outcome, platform::ProbeOutcome::InUse) << result.detail.toStdString();
}

} // namespace
