#include "platform/echo_probe.h"
#include "tests/support/scripted_echo.h"

#include <gtest/gtest.h>
#include <QtEndian>

namespace {

using platform::EchoPacket;

using test::echoReply;
using test::ScriptedTransport;

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
        {"raw reply", {echoReply(0, 99, 5, true), target, true}, true},
        {"raw reply with options", {echoReply(0, 99, 5, true, 6), target, true}, true},
        {"datagram reply", {echoReply(0, 99, 5, false), target, false}, true},
        {"echo request seen on raw socket", {echoReply(8, 99, 5, true), target, true}, false},
        {"unreachable", {echoReply(3, 99, 5, true), target, true}, false},
        {"other identifier", {echoReply(0, 98, 5, true), target, true}, false},
        {"other sequence", {echoReply(0, 99, 4, true), target, true}, false},
        {"other sender", {echoReply(0, 99, 5, true), other, true}, false},
        {"truncated", {echoReply(0, 99, 5, true, 5, 11), target, true}, false},
        {"header longer than packet",
         {QByteArray(1, '\x4F') + echoReply(0, 99, 5, true).mid(1), target, true},
         false},
        {"empty", {QByteArray(), target, true}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::isMatchingReply(c.packet, target, 99, 5), c.matches) << c.name;
}

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
    const QByteArray ours = echoReply(0, 4242, 0, false);
    const QByteArray foreign = echoReply(0, 1111, 0, false);
    const QByteArray staleSequence = echoReply(0, 4242, 60000, false);

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
