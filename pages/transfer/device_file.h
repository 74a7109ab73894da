#pragma once
// A file the device sends on command (its system log, its daylight-saving list): the page tells
// the device by SNMP where to upload it, and the device stores it on the module's TFTP server.
//
//   server_ = new pages::TransferServer(this, 5000, 3, nullptr);
//   log_ = new pages::DeviceFile(*server_, QStringLiteral("LogFile.RD"));
//   connect(log_, &pages::DeviceFile::arrived, this, &TLogForm::showLog);    // path() is whole
//   connect(log_, &pages::DeviceFile::failed, this, &TLogForm::showFailure); // the reason
//   ...
//   ui->FileNameEdit->setText(log_->name());
//   log_->request(*order_, ui->ServerEdit);     // a synchronous request carrying the order
//
// Files are kept per device (two modules never read each other's file) in the module's data
// directory. The old file is removed before the device is asked, so a file is shown only when
// this order's upload arrived whole. Uploads are taken only from the managed device (the server
// admits no other host), only under the expected name and only while an order is under way.
// The wait runs on timer ticks: the page stays usable, and a device that never uploads ends it.
#include "snmplib/request.h"

#include <QObject>
#include <QHash>
#include <QString>

class QLineEdit;
class QTimer;
class QvSNMPRequest2Controls;
struct QvTFTPMsg;

namespace pages {

class TransferServer;

class DeviceFile : public QObject {
    Q_OBJECT
public:
    // Nominal ticks (1 s each) to wait for the upload to begin once the device took the order.
    static constexpr int kDefaultTicks = 10;

    DeviceFile(TransferServer& server, QString name, int ticks = kDefaultTicks);

    // The name the device is given, and where the file lands.
    const QString& name() const { return name_; }
    QString path() const;
    // This device's directory in the module's data directory (created when missing).
    QString directory() const;

    // The whole order for a command written synchronously: prepare(), the write of `command`
    // (which carries the server address, the name and the order), then answered() with its
    // outcome. True when the device took the order.
    bool request(QvSNMPRequest2Controls& command, QLineEdit* serverEdit);

    // The steps before the order: the PC's address on the device's subnet into `serverEdit` (the
    // operator is told when there is none), the old file removed, its directory served. Uploads
    // are accepted from here on. False when a step failed (failed() has been sent when the
    // operator was not told already).
    bool prepare(QLineEdit* serverEdit);
    // The device's answer to the order: a refusal ends the wait with failed(its text); else the
    // tick count starts (or arrived() follows at once when the file came before the answer).
    void answered(const QvSNMPError& answer);

    // Whether an order is under way (prepared and not yet ended).
    bool waiting() const { return state_ != State::Idle; }
    // Ends a wait without a result (the page closes).
    void cancel();

signals:
    // The file arrived whole at path().
    void arrived(const QString& path);
    // The order ended without a file: the device refused it, the upload failed, or none came.
    void failed(const QString& reason);

private:
    enum class State { Idle, Asked, Waiting };
    void onSessionEvent(const QvTFTPMsg& msg, bool& cancel);
    void onTick();
    void finish(bool ok, const QString& reason = {});

    TransferServer& server_;
    QString name_;
    int ticks_;
    int ticksLeft_ = 0;
    State state_ = State::Idle;
    bool received_ = false; // the upload ended whole before the device answered the order
    // Uploads of ours under way: session number -> the device's address (a refusal of another
    // host is reported with the number of the last session).
    QHash<int, QString> sessions_;
    QTimer* timer_ = nullptr;
};

// The reason given when the device took the order but sent no file in time.
inline constexpr char kNoFileText[] = "The device sent no file.";

} // namespace pages
