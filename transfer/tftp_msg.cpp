#include "transfer/tftp_msg.h"

namespace qv::tftp {

QString statusText(int code) {
    switch (code) {
    case kSuccess:
        return QStringLiteral("(QvTFTP) Success to transfer file.");
    case kTransferring:
        return QStringLiteral("(QvTFTP) File is transferring...");
    case kConnected:
        return QStringLiteral("(QvTFTP) A TFTP session is connected...");
    case kDisconnected:
        return QStringLiteral("(QvTFTP) A TFTP session is disconnected...");
    case kUndefinedError:
        return QStringLiteral("(QvTFTP) Undefined error:");
    case kFileNotFound:
        return QStringLiteral("(QvTFTP) File not found!");
    case kAccessViolation:
        return QStringLiteral("(QvTFTP) Access violation!");
    case kDiskFull:
        return QStringLiteral("(QvTFTP) Disk full!");
    case kBadOperation:
        return QStringLiteral("(QvTFTP) Bad operation!");
    case kUnknownPort:
        return QStringLiteral("(QvTFTP) Unknown port!");
    case kFileExists:
        return QStringLiteral("(QvTFTP) File already exist!");
    case kNoSuchUser:
        return QStringLiteral("(QvTFTP) No such user!");
    case kSocketFailure:
        return QStringLiteral("(QvTFTP) Fail to open socket!Please check if the network is ready.");
    case kSendReceiveFailure:
        return QStringLiteral("(QvTFTP) Fail to send or receive socket packet!");
    case kSocketNotReady:
        return QStringLiteral("(QvTFTP) Socket is not ready!");
    case kBadPacket:
        return QStringLiteral("(QvTFTP) Bad packet!");
    case kTimeout:
        return QStringLiteral("(QvTFTP) Timeout!");
    case kCanceled:
        return QStringLiteral("(QvTFTP) Transfer has been canceled.");
    default:
        return {};
    }
}

int eventForErrorCode(int tftpErrorCode) {
    if (tftpErrorCode < 0 || tftpErrorCode > 7)
        tftpErrorCode = 0;
    return -(1101 + tftpErrorCode);
}

} // namespace qv::tftp
