#include "transfer/tftp_packet.h"

namespace qv::tftp {
namespace {
quint16 field(QByteArrayView d, qsizetype at) {
    if (d.size() < at + 2)
        return 0;
    return static_cast<quint16>((static_cast<quint8>(d[at]) << 8) | static_cast<quint8>(d[at + 1]));
}

void appendField(QByteArray& out, quint16 value) {
    out.append(static_cast<char>(value >> 8));
    out.append(static_cast<char>(value & 0xFF));
}

QByteArray header(quint16 opcode, quint16 second, qsizetype reserve) {
    QByteArray out;
    out.reserve(kHeaderSize + reserve);
    appendField(out, opcode);
    appendField(out, second);
    return out;
}
} // namespace

quint16 opcodeOf(QByteArrayView datagram) {
    return field(datagram, 0);
}

quint16 blockOf(QByteArrayView datagram) {
    return field(datagram, 2);
}

QByteArrayView payloadOf(QByteArrayView datagram) {
    return datagram.size() <= kHeaderSize ? QByteArrayView() : datagram.sliced(kHeaderSize);
}

std::optional<Request> parseRequest(QByteArrayView datagram) {
    const quint16 opcode = opcodeOf(datagram);
    if (opcode != kReadRequest && opcode != kWriteRequest)
        return std::nullopt;
    const qsizetype nameEnd = datagram.indexOf('\0', 2);
    if (nameEnd < 0)
        return std::nullopt;
    const qsizetype modeEnd = datagram.indexOf('\0', nameEnd + 1);
    if (modeEnd < 0)
        return std::nullopt;
    Request r;
    r.opcode = opcode;
    r.fileName = QString::fromUtf8(datagram.sliced(2, nameEnd - 2));
    r.mode = QString::fromLatin1(datagram.sliced(nameEnd + 1, modeEnd - nameEnd - 1));
    return r;
}

QByteArray dataPacket(quint16 block, QByteArrayView data) {
    QByteArray out = header(kData, block, data.size());
    out.append(data);
    return out;
}

QByteArray ackPacket(quint16 block) {
    return header(kAck, block, 0);
}

QByteArray errorPacket(quint16 code) {
    QByteArray out = header(kError, code, 1);
    out.append('\0');
    return out;
}

} // namespace qv::tftp
