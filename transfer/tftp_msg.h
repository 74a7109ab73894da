#pragma once
// The transfer record of the module's TFTP server and its event codes. The server keeps one record
// as the template for the next session; every session keeps its own copy and hands a pointer to it
// to the page's event handler with every event.
#include <QString>
#include <QtGlobal>

namespace qv::tftp {
// Event codes. The negative codes -1101..-1108 are the TFTP error codes 0..7 as -(1101 + code).
inline constexpr int kSuccess = 3;
inline constexpr int kTransferring = 2;
inline constexpr int kConnected = 1;
inline constexpr int kDisconnected = 0;
inline constexpr int kUndefinedError = -1101;
inline constexpr int kFileNotFound = -1102;
inline constexpr int kAccessViolation = -1103;
inline constexpr int kDiskFull = -1104;
inline constexpr int kBadOperation = -1105;
inline constexpr int kUnknownPort = -1106;
inline constexpr int kFileExists = -1107;
inline constexpr int kNoSuchUser = -1108;
inline constexpr int kSocketFailure = -1109;
inline constexpr int kSendReceiveFailure = -1110;
inline constexpr int kSocketNotReady = -1111;
inline constexpr int kBadPacket = -1112;
inline constexpr int kTimeout = -1113;
inline constexpr int kCanceled = -1114;

// Fixed text of an event code; an empty text for a code outside the table.
QString statusText(int code);
// Event code for a TFTP error code 0..7; codes outside that range count as 0 (undefined).
int eventForErrorCode(int tftpErrorCode);
} // namespace qv::tftp

struct QvTFTPMsg {
    int status = qv::tftp::kSocketNotReady;
    QString statusText = qv::tftp::statusText(qv::tftp::kSocketNotReady);
    int operation = 1; // 1 read request (the device reads from the PC), 2 write request
    QString mode = QStringLiteral("octet");
    QString clientAddress = QStringLiteral("0.0.0.0");
    QString serverAddress = QStringLiteral("127.0.0.1");
    int port = 69;
    QString fileName;
    qint64 totalBytes = 0;   // bytes sent (read) or written (write) so far
    int lastBlockBytes = -1; // data bytes of the last block sent or received
    int clientPort = 0;
    int sessionNumber = -1;
    int timeout = 1000; // retransmission time-out in units of 10 ms
    int sendCount = 0;  // transmissions of the current block (read sessions)
    // Size of the file a read session serves, so that a page can show progress; -1 while
    // unknown (write sessions: the device does not announce the size).
    qint64 fileSize = -1;
};
