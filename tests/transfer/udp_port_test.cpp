// The UDP port under a receiver that pumps events (a page's TFTP event handler showing progress
// or a message): later datagrams wait until it returns, in order, and it is never re-entered.
#include "tests/transfer/tftp_test_support.h"
#include "transfer/udp_port.h"

#include <gtest/gtest.h>
#include <QUdpSocket>

namespace {

TEST(UdpPort, AReceiverThatPumpsEventsIsNotReenteredAndLaterDatagramsFollowInOrder) {
    qv::tftp::UdpPort port;
    ASSERT_TRUE(port.bind(0));
    QUdpSocket sender;
    int depth = 0;
    int deepest = 0;
    QList<QByteArray> received;
    port.setReceiver([&](QByteArrayView datagram, const QHostAddress&, quint16) {
        ++depth;
        deepest = std::max(deepest, depth);
        received << datagram.toByteArray();
        if (received.size() == 1) {
            // The second and third datagrams arrive while this one is still being handled.
            sender.writeDatagram("two", QHostAddress::LocalHost, port.localPort());
            sender.writeDatagram("three", QHostAddress::LocalHost, port.localPort());
            tftptest::pumpFor(100);
            EXPECT_EQ(received.size(), 1);
        }
        --depth;
    });
    sender.writeDatagram("one", QHostAddress::LocalHost, port.localPort());
    ASSERT_TRUE(tftptest::pumpUntil([&] { return received.size() == 3; }, 3000));
    EXPECT_EQ(received, (QList<QByteArray>{"one", "two", "three"}));
    EXPECT_EQ(deepest, 1);
}

} // namespace
