#include "transfer/udp_port.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qv::tftp {

UdpPort::UdpPort(QObject* parent) : QObject(parent) {}

UdpPort::~UdpPort() {
    close();
}

bool UdpPort::bind(quint16 port) {
    close();
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return false;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    socklen_t len = sizeof(local);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &len) != 0) {
        close();
        return false;
    }
    localPort_ = ntohs(local.sin_port);
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &UdpPort::onReadable);
    return true;
}

bool UdpPort::sendTo(QByteArrayView datagram, const QHostAddress& to, quint16 port) {
    if (fd_ < 0)
        return false;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = htonl(to.toIPv4Address());
    peer.sin_port = htons(port);
    ssize_t sent;
    do {
        sent = ::sendto(fd_, datagram.data(), static_cast<size_t>(datagram.size()), 0,
                        reinterpret_cast<sockaddr*>(&peer), sizeof(peer));
    } while (sent < 0 && errno == EINTR);
    return sent == datagram.size();
}

void UdpPort::close() {
    if (notifier_) {
        // close() may run inside the notifier's own signal (a handler that stops the server).
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    localPort_ = 0;
}

void UdpPort::onReadable() {
    if (receiving_) {
        // The receiver pumps events while a further datagram waits: keep the notifier quiet until
        // the receiver returns, or the nested loop would spin on it. Only then, so the common
        // path costs no notifier changes per datagram.
        notifier_->setEnabled(false);
        return;
    }
    QSocketNotifier* notifier = notifier_;
    // In a lock-step transfer the peer's next datagram follows our answer within tens of
    // microseconds: waiting for it here a little while saves the event loop's sleep and wake-up
    // on every block. A burst ends after kBurst datagrams so that timers and the window run.
    constexpr int kBurst = 64;
    constexpr qint64 kFollowNs = 200'000;
    for (int handled = 0; handled < kBurst && notifier_ == notifier; ++handled) {
        if (!receiveOne(handled == 0 ? 0 : kFollowNs))
            break;
    }
    if (notifier_ == notifier && notifier && !notifier->isEnabled())
        notifier->setEnabled(true);
}

bool UdpPort::receiveOne(qint64 waitNs) {
    sockaddr_in from{};
    socklen_t len = sizeof(from);
    ssize_t n;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        len = sizeof(from);
        n = ::recvfrom(fd_, buffer_, sizeof(buffer_), MSG_TRUNC, reinterpret_cast<sockaddr*>(&from),
                       &len);
        if (n >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) ||
            clock.nsecsElapsed() >= waitNs)
            break;
        // The peer may be waiting for this very processor to send its answer.
        sched_yield();
    }
    if (n < 0 || !receiver_)
        return false;
    const auto size = std::min<qsizetype>(n, static_cast<qsizetype>(sizeof(buffer_)));
    receiving_ = true;
    receiver_(QByteArrayView(buffer_, size), QHostAddress(ntohl(from.sin_addr.s_addr)),
              ntohs(from.sin_port));
    receiving_ = false;
    return true;
}

} // namespace qv::tftp
