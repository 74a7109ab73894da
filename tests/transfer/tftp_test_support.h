#pragma once
// Shared pieces of the TFTP server tests: a server on a free loopback port with an event log, a
// peer of the test's own for raw exchanges, external clients run while the event loop turns, and a
// UDP relay that loses datagrams.
#include "transfer/tftp_server.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <QByteArray>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace tftptest {

// Turns the event loop until `done` holds or `timeoutMs` passed; the result of `done`.
bool pumpUntil(const std::function<bool()>& done, int timeoutMs);
void pumpFor(int ms);

// Deterministic content of `size` bytes.
QByteArray patternBytes(qsizetype size, quint32 seed);
QByteArray fileSha1(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

struct ClientRun {
    bool finished = false; // ended by itself within the time allowed
    int exitCode = -1;
    QByteArray output; // stdout and stderr
};

// Runs an external program with the event loop turning (the server lives on this thread); a
// program still running after `timeoutMs` is killed.
ClientRun runClient(const QString& program, const QStringList& args, int timeoutMs,
                    const QByteArray& input = {});

// Several programs at once; every one is waited for (or killed) before returning.
struct ClientCommand {
    QString program;
    QStringList args;
    QByteArray input;
};
std::vector<ClientRun> runClients(const std::vector<ClientCommand>& specs, int timeoutMs);
ClientRun runClient(const ClientCommand& command, int timeoutMs);

// Command lines of the real clients. `port` is the server's (or a relay's) port on 127.0.0.1.
// curl's --max-time also sets its retransmission interval (a third of it, at least 1 s).
ClientCommand curlGet(quint16 port, const QString& remote, const QString& local,
                      int maxSeconds = 3);
ClientCommand curlPut(quint16 port, const QString& local, const QString& remote,
                      int maxSeconds = 3);
ClientCommand hpaGet(quint16 port, const QString& remote, const QString& local);
ClientCommand hpaPut(quint16 port, const QString& local, const QString& remote);
ClientCommand atftpGet(quint16 port, const QString& remote, const QString& local);
ClientCommand atftpPut(quint16 port, const QString& local, const QString& remote);

// The three clients, each able to fetch and store; curl with --max-time `curlMaxSeconds`.
struct ExternalClient {
    const char* name;
    std::function<ClientCommand(quint16 port, const QString& remote, const QString& local)> get;
    std::function<ClientCommand(quint16 port, const QString& local, const QString& remote)> put;
};
std::vector<ExternalClient> externalClients(int curlMaxSeconds = 3);

// One event as the handler saw it.
struct Event {
    int status = 0;
    QString statusText;
    int sessionNumber = 0;
    int operation = 0;
    QString fileName;
    QString clientAddress;
    qint64 totalBytes = 0;
    int lastBlockBytes = 0;
    int sendCount = 0;
    qint64 fileSize = -1;
};

// A server listening on a free port of all local addresses, serving a fresh temporary directory,
// admitting 127.0.0.1, with every event recorded.
class ServerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    quint16 port() const { return server->port(); }
    QString root() const { return dir.path() + QLatin1Char('/'); }
    QString path(const QString& name) const { return root() + name; }

    // Events of one session, in order.
    std::vector<Event> sessionEvents(int sessionNumber) const;
    std::vector<int> statuses(int sessionNumber) const;
    // Waits until the session reported 0 (destroyed).
    bool waitSessionGone(int sessionNumber, int timeoutMs = 15000);
    // Waits until the session reported success or failure (an upload that succeeded stays a
    // little longer to answer a repeated last block).
    bool waitSessionEnded(int sessionNumber, int timeoutMs = 15000);
    // Last status other than 0 ("disconnected").
    int outcome(int sessionNumber) const;
    // The event that carried that last status.
    Event finalEvent(int sessionNumber) const;
    int lastSessionNumber() const;
    // Files in the root other than the ones named.
    QStringList strayFiles(const QStringList& expected) const;

    QTemporaryDir dir;
    QTemporaryDir work; // the clients' side
    QObject form;
    std::unique_ptr<QvTFTPServer> server;
    std::vector<Event> events;
    std::function<void(QvTFTPMsg*, bool*)> onEvent; // a test's own reaction, if any
};

// A UDP peer of the test's own on a loopback address.
class RawPeer {
public:
    explicit RawPeer(const QHostAddress& local = QHostAddress::LocalHost);
    quint16 port() const { return socket_.localPort(); }
    void sendTo(quint16 port, const QByteArray& datagram);
    // The next datagram within `timeoutMs`.
    std::optional<QNetworkDatagram> receive(int timeoutMs = 3000);

private:
    QUdpSocket socket_;
};

QByteArray requestPacket(quint16 opcode, const QString& name, const QString& mode = "octet");

// Relays a TFTP exchange between a client and the server on 127.0.0.1 and drops each datagram,
// either way, with probability `dropRate` (seeded, so a run can be repeated). The client sends
// its request to port(); the server's session ports each get a client-facing socket of their own,
// so the client sees the usual change of transfer port.
class LossyRelay : public QObject {
public:
    LossyRelay(quint16 serverPort, double dropRate, quint32 seed);
    quint16 port() const { return front_.localPort(); }
    int forwarded() const { return forwarded_; }
    int dropped() const { return dropped_; }

private:
    bool drop();
    void relay(QUdpSocket& to, const QByteArray& data, const QHostAddress& host, quint16 port);
    void fromClientToListener();
    void fromServer();
    QUdpSocket& sideDoor(quint16 serverPort);

    quint16 serverPort_;
    std::mt19937 rng_;
    std::bernoulli_distribution loss_;
    QUdpSocket front_;
    QUdpSocket upstream_;
    std::map<quint16, std::unique_ptr<QUdpSocket>> sideDoors_;
    QHostAddress client_;
    quint16 clientPort_ = 0;
    int forwarded_ = 0;
    int dropped_ = 0;
};

} // namespace tftptest
