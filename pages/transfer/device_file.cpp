#include "pages/transfer/device_file.h"

#include "pages/transfer/command_step.h"
#include "pages/transfer/transfer_server.h"
#include "platform/paths.h"
#include "platform/timers.h"
#include "transfer/tftp_server.h"

#include <QFile>
#include <QLineEdit>
#include <QTimer>

namespace pages {
namespace {

constexpr int kTickMs = 1000;
constexpr int kWriteRequest = 2;

// A directory name for a device address (no separators or drive colons in it).
QString directoryName(const QString& address) {
    QString name = address.isEmpty() ? QStringLiteral("unknown") : address;
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != u'.' && c != u'-')
            c = u'_';
    return name;
}

} // namespace

DeviceFile::DeviceFile(TransferServer& server, QString name, int ticks)
    : QObject(&server), server_(server), name_(std::move(name)), ticks_(ticks) {
    timer_ = platform::makeTimer(this, kTickMs);
    connect(timer_, &QTimer::timeout, this, &DeviceFile::onTick);
    connect(&server_, &TransferServer::sessionEvent, this, &DeviceFile::onSessionEvent);
}

QString DeviceFile::directory() const {
    const QHostAddress device = server_.server().deviceAddress();
    return platform::dataDirectory(QStringLiteral("devices/") +
                                   directoryName(device.isNull() ? QString() : device.toString()));
}

QString DeviceFile::path() const {
    const QString dir = directory();
    return dir.isEmpty() ? QString() : dir + name_;
}

bool DeviceFile::request(QvSNMPRequest2Controls& command, QLineEdit* serverEdit) {
    if (!prepare(serverEdit))
        return false;
    QvSNMPError failure;
    if (applyCommand(command, failure)) {
        failure = {};
        failure.code = 0;
    }
    answered(failure);
    return failure.code == 0;
}

bool DeviceFile::prepare(QLineEdit* serverEdit) {
    cancel();
    if (!server_.started())
        return false; // the operator was told when the page opened
    if (!server_.fillServerAddress(serverEdit))
        return false;
    const QString dir = directory();
    if (dir.isEmpty()) {
        emit failed(QStringLiteral("No directory to receive the file in."));
        return false;
    }
    // What lies there is an earlier order's file: it must not pass for this one's.
    if (QFile::exists(dir + name_) && !QFile::remove(dir + name_)) {
        emit failed(QStringLiteral("The old file cannot be removed: ") + dir + name_);
        return false;
    }
    server_.serve(dir);
    received_ = false;
    state_ = State::Asked;
    return true;
}

void DeviceFile::answered(const QvSNMPError& answer) {
    if (state_ != State::Asked)
        return;
    if (answer.code != 0)
        return finish(false, answer.text);
    if (received_)
        return finish(true);
    state_ = State::Waiting;
    ticksLeft_ = ticks_;
    timer_->start();
}

void DeviceFile::cancel() {
    timer_->stop();
    state_ = State::Idle;
    received_ = false;
}

void DeviceFile::onSessionEvent(const QvTFTPMsg& msg, bool& cancel) {
    using namespace qv::tftp;
    if (msg.status == kConnected) {
        // Only the upload that was ordered; nothing is read from this directory, and nothing
        // else is written into it.
        const bool ours =
            state_ != State::Idle && msg.operation == kWriteRequest && msg.fileName == name_;
        if (!ours) {
            cancel = true;
            return;
        }
        sessions_.insert(msg.sessionNumber, msg.clientAddress);
        return;
    }
    if (sessions_.value(msg.sessionNumber) != msg.clientAddress || msg.clientAddress.isEmpty())
        return;
    if (msg.status == kDisconnected) {
        sessions_.remove(msg.sessionNumber);
        return;
    }
    if (msg.status == kSuccess || msg.status < 0) {
        sessions_.remove(msg.sessionNumber);
        if (state_ == State::Idle)
            return;
        if (msg.status == kSuccess) {
            if (state_ == State::Waiting)
                finish(true);
            else
                received_ = true;
        } else if (state_ == State::Waiting) {
            finish(false, msg.statusText);
        }
    }
}

void DeviceFile::onTick() {
    if (state_ != State::Waiting)
        return timer_->stop();
    if (!sessions_.isEmpty())
        return; // an upload is under way: the server's own time-outs bound it
    if (--ticksLeft_ <= 0)
        finish(false, QString::fromLatin1(kNoFileText));
}

void DeviceFile::finish(bool ok, const QString& reason) {
    cancel();
    if (ok)
        emit arrived(path());
    else
        emit failed(reason);
}

} // namespace pages
