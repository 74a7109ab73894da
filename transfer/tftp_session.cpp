#include "transfer/tftp_session.h"

#include "platform/timers.h"
#include "transfer/tftp_packet.h"
#include "transfer/tftp_server.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace qv::tftp;

namespace {
// How long a finished upload keeps re-acknowledging its last block, at most.
constexpr int kMaxLingerMs = 5000;

int timeoutMs(const QvTFTPMsg& msg) {
    return platform::scaledInterval(std::max(1, msg.timeout) * 10);
}
} // namespace

_TFTPSession::_TFTPSession(Setup setup, QObject* parent)
    : QObject(parent), msg_(std::move(setup.msg)), peer_(setup.peer), peerPort_(setup.peerPort),
      root_(std::move(setup.root)), nameRegistered_(setup.nameRegistered),
      handler_(std::move(setup.handler)), form_(setup.form), formGiven_(setup.form != nullptr) {
    msg_.totalBytes = 0;
    msg_.lastBlockBytes = -1;
    msg_.sendCount = 0;
    msg_.fileSize = -1;
    report(kConnected);
    socket_ = new UdpPort(this);
    if (!socket_->bind(0)) {
        report(kSocketFailure);
        return;
    }
    socket_->setReceiver([this](QByteArrayView d, const QHostAddress& from, quint16 fromPort) {
        if (d.size() >= kHeaderSize)
            handle(d, from, fromPort);
    });
}

_TFTPSession::~_TFTPSession() {
    if (socket_)
        socket_->close();
    closeFiles();
    report(kDisconnected);
}

quint16 _TFTPSession::localPort() const {
    return socket_ ? socket_->localPort() : 0;
}

bool _TFTPSession::sameRequest(const QvTFTPMsg& r) const {
    return msg_.operation == r.operation && msg_.mode == r.mode &&
           msg_.clientAddress == r.clientAddress && msg_.clientPort == r.clientPort &&
           msg_.fileName == r.fileName;
}

void _TFTPSession::start() {
    if (state_ != Running)
        return;
    if (cancel_) {
        report(kCanceled);
        return;
    }
    const QString& name = msg_.fileName;
    if (!nameRegistered_ && !isPlainFileName(name)) {
        sendError(kErrAccessViolation);
        report(kAccessViolation);
        return;
    }
    const bool inRoot = !(nameRegistered_ && QDir::isAbsolutePath(name));
    const QString path = inRoot ? root_ + name : name;
    if (inRoot && !staysInsideRoot(root_, path)) {
        sendError(kErrAccessViolation);
        report(kAccessViolation);
        return;
    }

    if (msg_.operation == 1) {
        auto file = std::make_unique<QFile>(path);
        if (QFileInfo(path).isDir() || !file->open(QIODevice::ReadOnly)) {
            sendError(kErrFileNotFound);
            report(kFileNotFound);
            return;
        }
        msg_.fileSize = file->size();
        readFile_ = std::move(file);
        sendNextBlock();
        return;
    }
    if (msg_.operation == 2) {
        // The upload goes to a temporary file beside the target, renamed over it only once the
        // last block has arrived: a failed upload leaves the earlier file as it was.
        auto file = std::make_unique<QSaveFile>(path);
        if (QFileInfo(path).isDir() || !file->open(QIODevice::WriteOnly)) {
            sendError(kErrAccessViolation);
            report(kAccessViolation);
            return;
        }
        writeFile_ = std::move(file);
        if (!send(ackPacket(0)))
            return;
        armDeadline();
        report(kTransferring);
        return;
    }
    sendError(kErrIllegalOperation);
    report(kBadOperation);
}

void _TFTPSession::sendNextBlock() {
    char buffer[kBlockSize];
    const qint64 n = readFile_->read(buffer, kBlockSize);
    if (n < 0) {
        sendError(kErrUndefined);
        report(kUndefinedError);
        return;
    }
    // A block shorter than 512 bytes ends the file; after a full block nothing is left to say
    // but the ACK of the final (possibly empty) one.
    if (n == 0 && blocks_ > 0 && msg_.lastBlockBytes < kBlockSize) {
        report(kSuccess);
        return;
    }
    ++blocks_;
    msg_.lastBlockBytes = static_cast<int>(n);
    msg_.totalBytes += n;
    if (!send(dataPacket(static_cast<quint16>(blocks_), QByteArrayView(buffer, n))))
        return;
    msg_.sendCount = 1;
    armDeadline();
    report(kTransferring);
}

void _TFTPSession::handle(QByteArrayView datagram, const QHostAddress& from, quint16 fromPort) {
    // Another host or port: not our peer. Tell it so, and neither hand it the session nor end it.
    if (!from.isEqual(peer_, QHostAddress::ConvertV4MappedToIPv4) || fromPort != peerPort_) {
        socket_->sendTo(errorPacket(kErrUnknownTransferId), from, fromPort);
        return;
    }
    const quint16 opcode = opcodeOf(datagram);
    const quint16 block = blockOf(datagram);
    if (state_ != Running) {
        // Our final ACK was lost and the peer sends its last block again.
        if (lingering() && opcode == kData && blocks_ > 0 && block == static_cast<quint16>(blocks_))
            socket_->sendTo(lastSent_, peer_, peerPort_);
        return;
    }
    if (opcode == kError) {
        // The peer gave up; there is nobody left to talk to.
        deadline_ = QDeadlineTimer(QDeadlineTimer::Forever);
        report(eventForErrorCode(block));
        return;
    }
    if (!isWrite() && opcode == kAck)
        onAck(block);
    else if (isWrite() && opcode == kData)
        onData(block, payloadOf(datagram));
}

void _TFTPSession::onAck(quint16 block) {
    // Only the block in flight counts; an older ACK is a duplicate and must not trigger a resend
    // (that would double every later block).
    if (!readFile_ || block != static_cast<quint16>(blocks_))
        return;
    deadline_ = QDeadlineTimer(QDeadlineTimer::Forever);
    msg_.clientPort = peerPort_;
    if (cancel_) {
        report(kCanceled);
        return;
    }
    sendNextBlock();
}

void _TFTPSession::onData(quint16 block, QByteArrayView data) {
    if (!writeFile_ || data.size() > kBlockSize)
        return;
    if (blocks_ > 0 && block == static_cast<quint16>(blocks_)) {
        // Our ACK of this block was lost: acknowledge it again.
        if (send(lastSent_))
            armDeadline();
        return;
    }
    if (block != static_cast<quint16>(blocks_ + 1))
        return;
    deadline_ = QDeadlineTimer(QDeadlineTimer::Forever);
    msg_.clientPort = peerPort_;
    if (cancel_) {
        report(kCanceled);
        return;
    }
    if (data.size() == kBlockSize) {
        // Acknowledge a full block before storing it, so the peer's next block is on its way
        // while we write; a failed write still ends the session before anything is committed.
        if (!send(ackPacket(block)))
            return;
        armDeadline();
    }
    if (writeFile_->write(data.data(), data.size()) != data.size()) {
        sendError(kErrDiskFull);
        report(kDiskFull);
        return;
    }
    ++blocks_;
    msg_.lastBlockBytes = static_cast<int>(data.size());
    msg_.totalBytes += data.size();
    if (data.size() == kBlockSize) {
        report(kTransferring);
        return;
    }
    // Last block: the file takes the target's name before the peer hears that it arrived.
    if (!writeFile_->commit()) {
        sendError(kErrUndefined);
        report(kUndefinedError);
        return;
    }
    writeFile_.reset();
    if (!send(ackPacket(block)))
        return;
    lingerUntil_ =
        QDeadlineTimer(std::min(timeoutMs(msg_), platform::scaledInterval(kMaxLingerMs)));
    report(kSuccess);
}

bool _TFTPSession::send(const QByteArray& packet) {
    if (!socket_->sendTo(packet, peer_, peerPort_)) {
        report(kSendReceiveFailure);
        return false;
    }
    lastSent_ = packet;
    return true;
}

void _TFTPSession::sendError(quint16 code) {
    if (socket_)
        socket_->sendTo(errorPacket(code), peer_, peerPort_);
}

void _TFTPSession::armDeadline() {
    deadline_ = QDeadlineTimer(timeoutMs(msg_));
}

void _TFTPSession::repeatedRequest() {
    if (state_ == Running && isWrite() && blocks_ == 0 && !lastSent_.isEmpty() && send(lastSent_))
        armDeadline();
}

bool _TFTPSession::deadlinePassed() const {
    return state_ == Running && !deadline_.isForever() && deadline_.hasExpired();
}

bool _TFTPSession::lingering() const {
    return state_ == Finished && isWrite() && !lingerUntil_.hasExpired();
}

void _TFTPSession::retransmit() {
    if (state_ != Running || lastSent_.isEmpty())
        return;
    if (!send(lastSent_))
        return;
    ++msg_.sendCount;
    armDeadline();
    report(kTransferring);
}

void _TFTPSession::giveUp() {
    if (state_ == Running)
        report(kTimeout);
}

void _TFTPSession::closeFiles() {
    readFile_.reset();
    writeFile_.reset(); // without commit: the temporary file goes, the target stays
}

void _TFTPSession::report(int code) {
    msg_.status = code;
    msg_.statusText = statusText(code);
    if (code == kSuccess) {
        closeFiles();
        state_ = Finished;
    } else if (code < 0) {
        closeFiles();
        deadline_ = QDeadlineTimer(QDeadlineTimer::Forever);
        state_ = Failed;
    }
    if (!handler_ || (formGiven_ && !form_))
        return;
    ++reporting_;
    handler_(form_.data(), &msg_, &cancel_);
    --reporting_;
}
