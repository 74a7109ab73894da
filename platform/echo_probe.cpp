#include "platform/echo_probe.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHostInfo>
#include <QtEndian>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr quint8 kEchoRequest = 8;
constexpr quint8 kEchoReply = 0;
constexpr int kIcmpLength = 12;

// Sequence numbers count up across every probe of the module.
quint16 nextSequence() {
    static quint16 sequence = 0;
    return ++sequence;
}

class SocketTransport final : public EchoTransport {
public:
    SocketTransport(int fd, bool raw, quint16 id) : fd_(fd), raw_(raw), id_(id) {}
    ~SocketTransport() override { ::close(fd_); }
    SocketTransport(const SocketTransport&) = delete;
    SocketTransport& operator=(const SocketTransport&) = delete;

    quint16 identifier() const override { return id_; }

    bool send(const QByteArray& icmp, const QHostAddress& to) override {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(to.toIPv4Address());
        const auto sent = ::sendto(fd_, icmp.constData(), static_cast<size_t>(icmp.size()), 0,
                                   reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
        return sent == icmp.size();
    }

    std::optional<EchoPacket> receive(int timeoutMs) override {
        pollfd p{fd_, POLLIN, 0};
        int ready;
        do {
            ready = ::poll(&p, 1, timeoutMs);
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0)
            return std::nullopt;
        char buffer[1500];
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const auto n = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from),
                                  &fromLength);
        if (n < 0)
            return std::nullopt;
        return EchoPacket{QByteArray(buffer, static_cast<int>(n)),
                          QHostAddress(ntohl(from.sin_addr.s_addr)), raw_};
    }

private:
    int fd_;
    bool raw_;
    quint16 id_;
};

class SystemProbe final : public TransportEchoProbe {
public:
    SystemProbe() : TransportEchoProbe(openEchoTransport) {}
};

EchoProbe* installed = nullptr;

} // namespace

std::unique_ptr<EchoTransport> openEchoTransport(QString* error) {
    // Unprivileged ping socket first: the kernel picks the identifier (the local "port").
    int fd = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
    if (fd >= 0) {
        sockaddr_in local{};
        socklen_t length = sizeof local;
        local.sin_family = AF_INET;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) == 0)
            return std::make_unique<SocketTransport>(fd, false, ntohs(local.sin_port));
        ::close(fd);
    }
    const int datagramError = errno;
    fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (fd >= 0)
        return std::make_unique<SocketTransport>(fd, true,
                                                 static_cast<quint16>(::getpid() & 0xFFFF));
    if (error)
        *error =
            QStringLiteral("No ICMP socket may be opened here (ping socket: %1; raw socket: %2).")
                .arg(QString::fromLocal8Bit(std::strerror(datagramError)),
                     QString::fromLocal8Bit(std::strerror(errno)));
    return nullptr;
}

quint16 internetChecksum(const QByteArray& bytes) {
    quint32 sum = 0;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    qsizetype n = bytes.size();
    for (; n > 1; p += 2, n -= 2)
        sum += static_cast<quint32>(p[0] << 8 | p[1]);
    if (n == 1)
        sum += static_cast<quint32>(p[0] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<quint16>(~sum & 0xFFFF);
}

QByteArray buildEchoRequest(quint16 identifier, quint16 sequence, quint32 data) {
    QByteArray packet(kIcmpLength, '\0');
    auto* p = reinterpret_cast<uchar*>(packet.data());
    p[0] = kEchoRequest;
    p[1] = 0;
    qToBigEndian(identifier, p + 4);
    qToBigEndian(sequence, p + 6);
    qToBigEndian(data, p + 8);
    qToBigEndian(internetChecksum(packet), p + 2);
    return packet;
}

bool isMatchingReply(const EchoPacket& packet, const QHostAddress& target, quint16 identifier,
                     quint16 sequence) {
    const auto* p = reinterpret_cast<const uchar*>(packet.bytes.constData());
    const qsizetype size = packet.bytes.size();
    qsizetype header = 0;
    if (packet.hasIpHeader) {
        if (size < 1)
            return false;
        header = (p[0] & 0x0F) * 4;
    }
    if (size < header + kIcmpLength)
        return false;
    const uchar* icmp = p + header;
    return icmp[0] == kEchoReply && packet.from.toIPv4Address() == target.toIPv4Address() &&
           qFromBigEndian<quint16>(icmp + 4) == identifier &&
           qFromBigEndian<quint16>(icmp + 6) == sequence;
}

TransportEchoProbe::TransportEchoProbe(Factory factory, int requests, int waitMs)
    : factory_(std::move(factory)), requests_(requests), waitMs_(waitMs) {}

ProbeResult TransportEchoProbe::probe(const QString& host) {
    QHostAddress target;
    const QHostInfo info = QHostInfo::fromName(host);
    for (const QHostAddress& a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol) {
            target = a;
            break;
        }
    if (target.isNull() && !target.setAddress(host))
        return {ProbeOutcome::Unresolved, QStringLiteral("Unable to resolve ") + host};
    if (target.protocol() != QAbstractSocket::IPv4Protocol)
        return {ProbeOutcome::Unresolved, QStringLiteral("Unable to resolve ") + host};

    QString error;
    const auto transport = factory_(&error);
    if (!transport)
        return {ProbeOutcome::Unavailable, error};

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < requests_; ++i) {
        const quint16 sequence = nextSequence();
        const auto tick = static_cast<quint32>(clock.elapsed());
        if (!transport->send(buildEchoRequest(transport->identifier(), sequence, tick), target))
            continue;
        // Foreign traffic on the socket does not extend the wait.
        QDeadlineTimer deadline(waitMs_);
        while (!deadline.hasExpired()) {
            const auto packet = transport->receive(static_cast<int>(deadline.remainingTime()));
            if (!packet)
                break;
            if (isMatchingReply(*packet, target, transport->identifier(), sequence))
                return {ProbeOutcome::InUse, {}};
        }
    }
    return {ProbeOutcome::NotInUse, {}};
}

EchoProbe& echoProbe() {
    static SystemProbe system;
    return installed ? *installed : system;
}

void setEchoProbe(EchoProbe* probe) {
    installed = probe;
}

} // namespace platform
