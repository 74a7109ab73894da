#include "transfer/tftp_server.h"

#include "platform/timers.h"
#include "snmplib/qv_exception.h"
#include "snmplib/session.h"
#include "transfer/tftp_packet.h"

#include <algorithm>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHostInfo>
#include <QTimer>

using namespace qv::tftp;

namespace {
constexpr int kTickMs = 20;
constexpr int kDrainMs = 10000;

QHostAddress resolveOnce(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return {};
    QHostAddress direct;
    if (direct.setAddress(trimmed))
        return direct;
    const auto found = QHostInfo::fromName(trimmed).addresses();
    const auto v4 = std::find_if(found.begin(), found.end(), [](const QHostAddress& a) {
        return a.protocol() == QAbstractSocket::IPv4Protocol;
    });
    return v4 == found.end() ? QHostAddress() : *v4;
}

QString ownAddress() {
    const auto found = QHostInfo::fromName(QHostInfo::localHostName()).addresses();
    for (const QHostAddress& a : found) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a.toString();
    }
    return QStringLiteral("127.0.0.1");
}
} // namespace

namespace qv::tftp {

quint16 effectivePort(quint16 requested) {
    if (requested != kStandardPort)
        return requested;
    bool ok = false;
    const uint env = qEnvironmentVariable("KW9100_TFTP_PORT").toUInt(&ok);
    return ok && env > 0 && env <= 65535 ? static_cast<quint16>(env) : requested;
}

bool isPlainFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return false;
    // "C:name" names a drive on the systems that have drives.
    if (name.size() >= 2 && name[1] == QLatin1Char(':'))
        return false;
    return !QDir::isAbsolutePath(name);
}

bool staysInsideRoot(const QString& root, const QString& path) {
    // Links are followed by hand, so that a dangling one still shows where it leads.
    constexpr int kMaxLinks = 40; // as the system's own limit on a chain of links
    QFileInfo target(path);
    for (int hops = 0; target.isSymLink(); ++hops) {
        if (hops == kMaxLinks)
            return false;
        target = QFileInfo(target.symLinkTarget());
    }
    const QString base = QDir(root.isEmpty() ? QStringLiteral(".") : root).canonicalPath();
    if (base.isEmpty())
        return true; // no root, so no link in it: opening the file fails as it would anyway
    // The directory holding the final name, with any links among its own parts resolved.
    const QString dir = target.absoluteDir().canonicalPath();
    if (dir.isEmpty())
        return false;
    const QString final = dir + QLatin1Char('/') + target.fileName();
    return final.startsWith(base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/'));
}

} // namespace qv::tftp

QvTFTPServer::QvTFTPServer(QObject* owner) : QObject(owner) {
    template_.status = kSocketNotReady;
    template_.statusText = statusText(kSocketNotReady);
    template_.serverAddress = ownAddress();
    timer_ = platform::makeTimer(this, kTickMs);
    connect(timer_, &QTimer::timeout, this, &QvTFTPServer::onTick);
    SetDeviceAddress(qv::sessionDevice().address);
}

QvTFTPServer::~QvTFTPServer() {
    // Pages stop the server before destroying it; the drain is not waited for twice.
    if (socket_)
        Stop();
    // Destroy one by one so that a handler that runs during a session's last report still finds
    // the list consistent.
    while (!sessions_.empty()) {
        std::unique_ptr<_TFTPSession> s = std::move(sessions_.back());
        sessions_.pop_back();
    }
}

void QvTFTPServer::SetTimeouts(int timeout, int maxSends) {
    template_.timeout = timeout;
    maxSends_ = maxSends;
}

void QvTFTPServer::SetEventHandler(QvTFTPEventHandler handler, QObject* form) {
    handler_ = std::move(handler);
    form_ = form;
}

void QvTFTPServer::SetDeviceAddress(const QString& address) {
    device_ = resolveOnce(address);
}

void QvTFTPServer::RegisterFileName(const QString& name) {
    registered_.insert(name);
}

void QvTFTPServer::UnregisterFileName(const QString& name) {
    registered_.remove(name);
}

void QvTFTPServer::Start(const QString& rootDirectory, quint16 port) {
    QString root = rootDirectory;
#ifndef Q_OS_WIN
    root.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    if (!root.isEmpty() && !root.endsWith(QLatin1Char('/')))
        root.append(QLatin1Char('/'));
    root_ = root;
    if (socket_)
        return;

    auto* socket = new UdpPort(this);
    // Exclusive: a second server on the same port would silently take the device's requests.
    if (!socket->bind(effectivePort(port))) {
        delete socket;
        timer_->stop();
        throw QvException(kSocketFailure, statusText(kSocketFailure));
    }
    socket_ = socket;
    template_.port = socket_->localPort();
    socket_->setReceiver([this](QByteArrayView d, const QHostAddress& from, quint16 fromPort) {
        onRequest(d, from, fromPort);
    });
    timer_->start();
}

int QvTFTPServer::pendingSessions() const {
    // A session whose report is on the call stack (a handler that stops the server) cannot be
    // destroyed before that handler returns; it is not waited for.
    return static_cast<int>(std::count_if(sessions_.begin(), sessions_.end(),
                                          [](const auto& s) { return !s->isReporting(); }));
}

void QvTFTPServer::Stop() {
    if (socket_) {
        // Stop may be called from a handler that runs inside the socket's own signal.
        socket_->close();
        socket_->deleteLater();
        socket_ = nullptr;
    }
    stopping_ = true;
    QElapsedTimer waited;
    waited.start();
    const int limit = platform::scaledInterval(kDrainMs);
    while (pendingSessions() > 0 && waited.elapsed() < limit) {
        if (!timer_->isActive())
            timer_->start();
        // Sleeps until the next event; the running tick timer wakes it at least every 20 ms.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    stopping_ = false;
    timer_->stop();
}

_TFTPSession* QvTFTPServer::sessionFor(const QvTFTPMsg& request) const {
    const auto it = std::find_if(sessions_.begin(), sessions_.end(),
                                 [&request](const auto& s) { return s->sameRequest(request); });
    return it == sessions_.end() ? nullptr : it->get();
}

void QvTFTPServer::onRequest(QByteArrayView datagram, const QHostAddress& from, quint16 fromPort) {
    if (datagram.size() < kHeaderSize)
        return;
    template_.status = kConnected;
    template_.statusText = statusText(kConnected);
    const auto request = parseRequest(datagram);
    const quint16 opcode = opcodeOf(datagram);
    if (!request && opcode != kReadRequest && opcode != kWriteRequest)
        return;
    template_.operation = opcode;
    template_.clientAddress = from.toString();
    template_.clientPort = fromPort;
    const bool fromDevice =
        !device_.isNull() && from.isEqual(device_, QHostAddress::ConvertV4MappedToIPv4);
    if (!request) {
        // A request whose texts are not both ended, typically a name too long for the receive
        // buffer: the peer hears why nothing follows instead of waiting out its time-out.
        const QByteArrayView rest = datagram.sliced(2);
        const qsizetype end = rest.indexOf('\0');
        template_.fileName = QString::fromUtf8(end < 0 ? rest : rest.first(end));
        template_.mode.clear();
        if (fromDevice)
            refuse(from, fromPort, kErrIllegalOperation, kBadPacket);
        else
            refuse(from, fromPort, kErrAccessViolation, kAccessViolation);
        return;
    }
    template_.fileName = request->fileName;
    template_.mode = request->mode;
    if (!fromDevice) {
        refuse(from, fromPort, kErrAccessViolation, kAccessViolation);
        return;
    }
    if (_TFTPSession* open = sessionFor(template_)) {
        // A repeated request: no second session.
        open->repeatedRequest();
        return;
    }
    ++template_.sessionNumber;
    _TFTPSession::Setup setup;
    setup.msg = template_;
    setup.peer = from;
    setup.peerPort = fromPort;
    setup.root = root_;
    setup.nameRegistered = registered_.contains(request->fileName);
    setup.handler = handler_;
    setup.form = form_;
    auto session = std::make_unique<_TFTPSession>(std::move(setup));
    _TFTPSession* started = session.get();
    sessions_.push_back(std::move(session));
    started->start();
}

void QvTFTPServer::refuse(const QHostAddress& from, quint16 fromPort, quint16 errorCode,
                          int event) {
    socket_->sendTo(errorPacket(errorCode), from, fromPort);
    QvTFTPMsg refused = template_;
    refused.status = event;
    refused.statusText = statusText(event);
    bool cancel = false;
    if (handler_)
        handler_(form_, &refused, &cancel);
}

void QvTFTPServer::destroySession(_TFTPSession* s) {
    const auto it = std::find_if(sessions_.begin(), sessions_.end(),
                                 [s](const auto& p) { return p.get() == s; });
    if (it == sessions_.end())
        return;
    std::unique_ptr<_TFTPSession> done = std::move(*it);
    sessions_.erase(it);
}

void QvTFTPServer::onTick() {
    // Handlers run inside this loop and may pump events (and so add sessions or run a nested
    // tick): sessions are addressed by pointer, never by a stored position.
    for (std::size_t i = 0; i < sessions_.size(); ++i) {
        _TFTPSession* s = sessions_[i].get();
        if (s->isReporting())
            continue;
        if (s->state() != _TFTPSession::Running) {
            if (s->lingering() && !stopping_ && socket_)
                continue;
            destroySession(s);
            return;
        }
        if (!s->deadlinePassed())
            continue;
        // An upload's peer retransmits, so a silent upload is over; a download resends its block
        // until maxSends transmissions went unanswered.
        if (s->isWrite() || s->msg().sendCount >= maxSends_) {
            s->giveUp();
            destroySession(s);
            return;
        }
        s->retransmit();
        const auto at = std::find_if(sessions_.begin(), sessions_.end(),
                                     [s](const auto& p) { return p.get() == s; });
        if (at == sessions_.end())
            return;
        i = static_cast<std::size_t>(at - sessions_.begin());
    }
}
