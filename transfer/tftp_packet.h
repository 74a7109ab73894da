#pragma once
// TFTP packets (RFC 1350) as the module's server reads and writes them. Every 16-bit field is in
// network byte order.
#include <optional>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

namespace qv::tftp {

enum Opcode : quint16 {
    kReadRequest = 1,
    kWriteRequest = 2,
    kData = 3,
    kAck = 4,
    kError = 5,
};

// TFTP error codes carried by ERROR packets.
enum ErrorCode : quint16 {
    kErrUndefined = 0,
    kErrFileNotFound = 1,
    kErrAccessViolation = 2,
    kErrDiskFull = 3,
    kErrIllegalOperation = 4,
    kErrUnknownTransferId = 5,
    kErrFileExists = 6,
    kErrNoSuchUser = 7,
};

inline constexpr int kBlockSize = 512;
inline constexpr int kMaxDatagram = 2048;
inline constexpr int kHeaderSize = 4;

struct Request {
    quint16 opcode = 0;
    QString fileName;
    QString mode;
};

// A read or write request: opcode 1 or 2, then the file name and the mode, each ended by a zero
// byte. Anything after the mode (option negotiation) is not used. std::nullopt for any other
// opcode or a request whose texts are not both terminated.
std::optional<Request> parseRequest(QByteArrayView datagram);

quint16 opcodeOf(QByteArrayView datagram); // 0 when shorter than two bytes
quint16 blockOf(QByteArrayView datagram);  // second field of DATA, ACK (and ERROR: its code)
QByteArrayView payloadOf(QByteArrayView datagram); // data bytes of a DATA packet

QByteArray dataPacket(quint16 block, QByteArrayView data);
QByteArray ackPacket(quint16 block);
// Error code and an empty message.
QByteArray errorPacket(quint16 code);

} // namespace qv::tftp
