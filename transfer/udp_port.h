#pragma once
// A UDP socket on all local IPv4 addresses whose datagrams are handed over on the UI thread as
// they arrive (QSocketNotifier). Plain socket calls: one system call per datagram each way, which
// is what a lock-step transfer's throughput rests on. After each datagram the port waits up to
// 200 us for the peer's next one (64 in a row at most) before it returns to the event loop, so a
// transfer does not sleep and wake once per block. POSIX sockets.
#include <functional>
#include <QByteArrayView>
#include <QHostAddress>
#include <QObject>

class QSocketNotifier;

namespace qv::tftp {

class UdpPort : public QObject {
public:
    using Receiver =
        std::function<void(QByteArrayView datagram, const QHostAddress& from, quint16 fromPort)>;

    explicit UdpPort(QObject* parent = nullptr);
    ~UdpPort() override;

    // Binds all local IPv4 addresses on `port` (0: an ephemeral one), without address sharing:
    // a port another socket holds is refused. false when the socket cannot be opened or bound.
    bool bind(quint16 port);
    quint16 localPort() const { return localPort_; }
    bool sendTo(QByteArrayView datagram, const QHostAddress& to, quint16 port);
    // Called once per datagram (cut to 2048 bytes). The receiver may pump events; the port does
    // not deliver again until it returns.
    void setReceiver(Receiver receiver) { receiver_ = std::move(receiver); }
    void close();

private:
    void onReadable();
    // Receives and hands over one datagram, waiting up to waitNs for it; false when none came.
    bool receiveOne(qint64 waitNs);

    int fd_ = -1;
    quint16 localPort_ = 0;
    QSocketNotifier* notifier_ = nullptr;
    Receiver receiver_;
    bool receiving_ = false; // the receiver runs (and may pump events)
    char buffer_[2048];
};

} // namespace qv::tftp
