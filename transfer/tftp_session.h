#pragma once
// One TFTP transfer with one peer: its own UDP socket on an ephemeral port, the file being read or
// written, and the transfer record that every event hands to the page. Sessions are created,
// timed and destroyed by QvTFTPServer; pages only see them through their events.
#include "transfer/tftp_msg.h"
#include "transfer/udp_port.h"

#include <functional>
#include <memory>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QObject>
#include <QPointer>

class QFile;
class QSaveFile;

// Called with (form, the session's record, the session's cancel flag) for every event of every
// session. Setting the flag makes the session stop at its next step. The handler must not destroy
// the server; it may pump events.
using QvTFTPEventHandler = std::function<void(QObject* form, QvTFTPMsg* msg, bool* cancel)>;

class _TFTPSession : public QObject {
    Q_OBJECT
public:
    enum State { Failed = 0, Running = 1, Finished = 2 };

    struct Setup {
        QvTFTPMsg msg;     // the server's template, filled from the request
        QHostAddress peer; // where the request came from: the only peer this session talks to
        quint16 peerPort = 0;
        QString root;                // empty or ending in '/'
        bool nameRegistered = false; // the page registered this exact name: no name checks
        QvTFTPEventHandler handler;
        QObject* form = nullptr;
    };

    // Copies the record (totalBytes 0, lastBlockBytes -1), reports 1 and opens the session's
    // socket; a socket that cannot be opened reports -1109 and leaves the session failed.
    _TFTPSession(Setup setup, QObject* parent = nullptr);
    // Closes the socket, drops an unfinished upload (the earlier file stays) and reports 0.
    ~_TFTPSession() override;

    // Opens the file and sends the first DATA (read) or ACK 0 (write).
    void start();

    State state() const { return state_; }
    const QvTFTPMsg& msg() const { return msg_; }
    bool isWrite() const { return msg_.operation == 2; }
    bool isReporting() const { return reporting_ > 0; }
    // Local port of the session's socket (0 when it could not be opened).
    quint16 localPort() const;
    // Same request as one this session serves (a repeated request).
    bool sameRequest(const QvTFTPMsg& request) const;

    // The peer sent its request again. An upload that has not seen its first block yet answers
    // with ACK 0 again (ours was lost, and an upload never resends on its own); otherwise
    // nothing happens.
    void repeatedRequest();

    // Timer visits. A set deadline that has passed.
    bool deadlinePassed() const;
    // A finished upload keeps answering a repeated last DATA for a short while, because the
    // peer retransmits it when our final ACK is lost.
    bool lingering() const;
    // Sends the last DATA packet again exactly as it went out, and reports 2.
    void retransmit();
    // Reports -1113.
    void giveUp();

private:
    void handle(QByteArrayView datagram, const QHostAddress& from, quint16 fromPort);
    void onAck(quint16 block);
    void onData(quint16 block, QByteArrayView data);
    void sendNextBlock();
    bool send(const QByteArray& packet);
    void sendError(quint16 code);
    void armDeadline();
    void report(int code);
    void closeFiles();

    QvTFTPMsg msg_;
    QHostAddress peer_;
    quint16 peerPort_ = 0;
    QString root_;
    bool nameRegistered_ = false;
    QvTFTPEventHandler handler_;
    QPointer<QObject> form_;
    bool formGiven_ = false;
    bool cancel_ = false;
    State state_ = Running;
    int reporting_ = 0;

    qv::tftp::UdpPort* socket_ = nullptr;
    std::unique_ptr<QFile> readFile_;
    std::unique_ptr<QSaveFile> writeFile_;
    QByteArray lastSent_; // the last DATA or ACK, resent byte for byte
    quint64 blocks_ = 0;  // blocks sent (read) or accepted (write); on the wire modulo 65536
    QDeadlineTimer deadline_{QDeadlineTimer::Forever};
    QDeadlineTimer lingerUntil_;
};
