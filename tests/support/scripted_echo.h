#pragma once
// Fakes of the ICMP echo probe.
//
// ScriptedEchoProbe: the page-level fake. Installed for its lifetime; records every probed host
// and answers with the prepared outcomes (NotInUse when none is left).
//
// ScriptedTransport: the socket-level fake under TransportEchoProbe. The n-th send is answered
// with script[n] (any number of packets, from `from`); a packet whose sequence field is 0 gets
// the request's sequence, so "our reply" and "a foreign reply" are easy to write:
//   echoReply(0, 4242, 0, false)     our reply when the transport's identifier is 4242
//   echoReply(0, 1111, 0, false)     a reply to somebody else's ping
#include "platform/echo_probe.h"

#include <deque>
#include <QStringList>
#include <QtEndian>
#include <vector>

namespace test {

class ScriptedEchoProbe final : public platform::EchoProbe {
public:
    ScriptedEchoProbe() { platform::setEchoProbe(this); }
    ~ScriptedEchoProbe() override { platform::setEchoProbe(nullptr); }
    ScriptedEchoProbe(const ScriptedEchoProbe&) = delete;
    ScriptedEchoProbe& operator=(const ScriptedEchoProbe&) = delete;

    platform::ProbeResult probe(const QString& host) override {
        probed << host;
        if (outcomes.empty())
            return {platform::ProbeOutcome::NotInUse, {}};
        const auto outcome = outcomes.front();
        outcomes.pop_front();
        return {outcome, outcome == platform::ProbeOutcome::Unresolved
                             ? QStringLiteral("Unable to resolve ") + host
                             : QString()};
    }

    QStringList probed;
    std::deque<platform::ProbeOutcome> outcomes;
};

// An ICMP message as a socket would deliver it, with or without an IPv4 header of `ihlWords`.
inline QByteArray echoReply(quint8 type, quint16 id, quint16 seq, bool withHeader, int ihlWords = 5,
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

class ScriptedTransport final : public platform::EchoTransport {
public:
    static constexpr quint16 kIdentifier = 4242;

    ScriptedTransport(std::vector<std::vector<QByteArray>> script, QHostAddress from, size_t& sends)
        : script_(std::move(script)), from_(std::move(from)), sends_(sends) {}
    quint16 identifier() const override { return kIdentifier; }
    bool send(const QByteArray& icmp, const QHostAddress& to) override {
        Q_UNUSED(to);
        const auto n = sends_++;
        if (n < script_.size())
            for (const auto& r : script_[n]) {
                QByteArray bytes = r;
                if (bytes.size() >= 8 && qFromBigEndian<quint16>(bytes.constData() + 6) == 0)
                    qToBigEndian(qFromBigEndian<quint16>(icmp.constData() + 6),
                                 reinterpret_cast<uchar*>(bytes.data()) + 6);
                pending_.push_back(bytes);
            }
        return true;
    }
    std::optional<platform::EchoPacket> receive(int) override {
        if (pending_.empty())
            return std::nullopt;
        const QByteArray bytes = pending_.front();
        pending_.pop_front();
        return platform::EchoPacket{bytes, from_, false};
    }

private:
    std::vector<std::vector<QByteArray>> script_;
    std::deque<QByteArray> pending_;
    QHostAddress from_;
    size_t& sends_;
};

} // namespace test
