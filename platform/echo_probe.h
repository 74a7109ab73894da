#pragma once
// ICMP echo probe: tells whether a host answers at an address before a page hands that address
// to the device. Three echo requests, each followed by a wait of up to one second; only replies
// that carry our identifier and sequence number and come from the probed address count.
//
// The socket side is behind EchoTransport so that tests can feed foreign and malformed replies.
#include <functional>
#include <memory>
#include <optional>
#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QtGlobal>

namespace platform {

struct EchoPacket {
    QByteArray bytes;  // as received
    QHostAddress from; // sender
    bool hasIpHeader;  // raw sockets deliver the IP header, ping datagram sockets do not
};

class EchoTransport {
public:
    virtual ~EchoTransport() = default;
    // Identifier the replies will carry (ping datagram sockets impose their own).
    virtual quint16 identifier() const = 0;
    virtual bool send(const QByteArray& icmp, const QHostAddress& to) = 0;
    // Next datagram, waiting at most `timeoutMs`; nullopt on time-out.
    virtual std::optional<EchoPacket> receive(int timeoutMs) = 0;
};

// A ping datagram socket where the system allows it, else a raw socket where the process may
// open one; nullptr (with `error` set) when neither is possible.
std::unique_ptr<EchoTransport> openEchoTransport(QString* error);

enum class ProbeOutcome {
    InUse,       // a matching echo reply arrived
    NotInUse,    // no matching reply to any of the requests
    Unresolved,  // neither a host name that resolves nor a dotted address
    Unavailable, // no ICMP socket could be opened
};

struct ProbeResult {
    ProbeOutcome outcome;
    QString detail; // why, for Unresolved and Unavailable
};

// The 12-byte echo request: type 8, code 0, checksum, identifier, sequence, 4 bytes of data.
QByteArray buildEchoRequest(quint16 identifier, quint16 sequence, quint32 data);
// Internet checksum (one's complement of the one's complement sum).
quint16 internetChecksum(const QByteArray& bytes);
// True when `packet` is the echo reply to (identifier, sequence) from `target`.
bool isMatchingReply(const EchoPacket& packet, const QHostAddress& target, quint16 identifier,
                     quint16 sequence);

class EchoProbe {
public:
    virtual ~EchoProbe() = default;
    virtual ProbeResult probe(const QString& host) = 0;
};

// The system probe unless a test installed another.
EchoProbe& echoProbe();
void setEchoProbe(EchoProbe* probe); // not owned; nullptr restores the system probe

// The probe over a given transport factory (the system probe uses openEchoTransport).
class TransportEchoProbe : public EchoProbe {
public:
    using Factory = std::function<std::unique_ptr<EchoTransport>(QString* error)>;
    explicit TransportEchoProbe(Factory factory, int requests = 3, int waitMs = 1000);
    ProbeResult probe(const QString& host) override;

private:
    Factory factory_;
    int requests_;
    int waitMs_;
};

} // namespace platform
