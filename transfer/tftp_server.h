#pragma once
// The module's own TFTP server. A transfer page creates it when it opens, starts it on the TFTP
// port and tells the device by SNMP to fetch a file from it (read request) or to store one on it
// (write request). Octet transfers with 512-byte blocks, one block in flight, one session per
// request; every step of every session goes to the page's event handler.
//
// Only the managed device may open a session: its address comes from the session parameters
// (resolved once, at construction) and can be replaced with SetDeviceAddress. Requested names are
// plain names inside the root directory, unless a page registered the exact name it asked the
// device to use (the log page registers a full path).
#include "transfer/tftp_msg.h"
#include "transfer/tftp_session.h"
#include "transfer/udp_port.h"

#include <memory>
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QString>
#include <vector>

class QTimer;

namespace qv::tftp {
inline constexpr quint16 kStandardPort = 69;
// The port to listen on when a page asks for `requested`: the standard port is replaced by the
// environment variable KW9100_TFTP_PORT when that holds a valid port number.
quint16 effectivePort(quint16 requested);
// A name the server accepts without registration: not empty, not "." or "..", no '/' or '\\',
// no drive prefix.
bool isPlainFileName(const QString& name);
// The file that `path` finally names, every symbolic link followed (a dangling link's target
// too, since creating the file would create that target), lies inside `root` (empty: the working
// directory). A local user may place a link inside the root; it must not carry a transfer out.
bool staysInsideRoot(const QString& root, const QString& path);
} // namespace qv::tftp

class QvTFTPServer : public QObject {
    Q_OBJECT
public:
    explicit QvTFTPServer(QObject* owner = nullptr);
    // Stop (unless stopped already), then every remaining session is destroyed (an unfinished
    // upload is dropped).
    ~QvTFTPServer() override;

    // Retransmission time-out of new sessions in units of 10 ms, and the number of transmissions
    // of one DATA block before a read session gives up.
    void SetTimeouts(int timeout, int maxSends);
    void SetEventHandler(QvTFTPEventHandler handler, QObject* form);

    // Stores the root (a non-empty text gets a trailing separator) and, when not yet listening,
    // binds all local IPv4 addresses on `port` (see qv::tftp::effectivePort; 0 binds an ephemeral
    // port, reported by port()). Raises QvException -1109 when the socket cannot be opened.
    void Start(const QString& rootDirectory, quint16 port);
    // Closes the listening socket and waits, pumping events, until every session has ended or
    // 10 s have passed; then stops the timer.
    void Stop();

    // The host allowed to open sessions (dotted address or host name, resolved now). An empty or
    // unresolvable name admits nobody.
    void SetDeviceAddress(const QString& address);
    QHostAddress deviceAddress() const { return device_; }

    // Exact file names that bypass the name checks (joined to the root unless absolute).
    void RegisterFileName(const QString& name);
    void UnregisterFileName(const QString& name);

    bool isListening() const { return socket_ != nullptr; }
    quint16 port() const { return static_cast<quint16>(template_.port); }
    QString rootDirectory() const { return root_; }
    int maxSends() const { return maxSends_; }
    const QvTFTPMsg& templateMsg() const { return template_; }
    int sessionCount() const { return static_cast<int>(sessions_.size()); }

private:
    void onRequest(QByteArrayView datagram, const QHostAddress& from, quint16 fromPort);
    void onTick();
    // Answers a request with an ERROR packet and reports `event` without opening a session
    // (a stranger's request, or one that cannot be read).
    void refuse(const QHostAddress& from, quint16 fromPort, quint16 errorCode, int event);
    _TFTPSession* sessionFor(const QvTFTPMsg& request) const;
    int pendingSessions() const;
    void destroySession(_TFTPSession* s);

    QvTFTPMsg template_;
    int maxSends_ = 3;
    QvTFTPEventHandler handler_;
    QObject* form_ = nullptr;
    QString root_;
    QHostAddress device_;
    QSet<QString> registered_;
    qv::tftp::UdpPort* socket_ = nullptr;
    QTimer* timer_ = nullptr;
    std::vector<std::unique_ptr<_TFTPSession>> sessions_;
    bool stopping_ = false;
};
