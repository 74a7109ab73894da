#include "tests/transfer/tftp_test_support.h"

#include "platform/timers.h"
#include "transfer/tftp_packet.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QUrl>

namespace tftptest {

std::vector<ExternalClient> externalClients(int curlMaxSeconds) {
    return {
        {"curl",
         [=](quint16 p, const QString& r, const QString& l) {
             return curlGet(p, r, l, curlMaxSeconds);
         },
         [=](quint16 p, const QString& l, const QString& r) {
             return curlPut(p, l, r, curlMaxSeconds);
         }},
        {"tftp-hpa", hpaGet, hpaPut},
        {"atftp", atftpGet, atftpPut},
    };
}

bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    // Sleeps in the event loop between events (a busy loop would take the CPU from the clients);
    // the wake-up timer bounds the wait.
    QTimer wake;
    wake.start(2);
    while (!done()) {
        if (t.elapsed() >= timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void pumpFor(int ms) {
    pumpUntil([] { return false; }, ms);
}

QByteArray patternBytes(qsizetype size, quint32 seed) {
    std::mt19937 rng(seed);
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = static_cast<char>(rng() & 0xFF);
    return out;
}

QByteArray fileSha1(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(&f);
    return h.result().toHex();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {
// tftp-hpa exits with 0 even when a transfer failed; it says so on its output.
bool saysFailure(const QByteArray& out) {
    return out.contains("Error code") || out.contains("timed out") || out.contains("aborting");
}
} // namespace

std::vector<ClientRun> runClients(const std::vector<ClientCommand>& specs, int timeoutMs) {
    std::vector<std::unique_ptr<QProcess>> procs;
    for (const ClientCommand& s : specs) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->setWorkingDirectory(QDir::tempPath());
        p->start(s.program, s.args);
        if (!s.input.isEmpty())
            p->write(s.input);
        p->closeWriteChannel();
        procs.push_back(std::move(p));
    }
    std::vector<QByteArray> outputs(procs.size());
    auto allDone = [&] {
        bool done = true;
        for (std::size_t i = 0; i < procs.size(); ++i) {
            outputs[i] += procs[i]->readAll();
            done = done && procs[i]->state() == QProcess::NotRunning;
        }
        return done;
    };
    pumpUntil(allDone, timeoutMs);
    std::vector<ClientRun> runs;
    for (std::size_t i = 0; i < procs.size(); ++i) {
        QProcess& p = *procs[i];
        ClientRun r;
        r.finished = p.state() == QProcess::NotRunning && p.exitStatus() == QProcess::NormalExit;
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
        outputs[i] += p.readAll();
        r.output = outputs[i];
        r.exitCode = r.finished ? p.exitCode() : -1;
        if (r.finished && r.exitCode == 0 && saysFailure(r.output))
            r.exitCode = 1;
        runs.push_back(r);
    }
    return runs;
}

ClientRun runClient(const QString& program, const QStringList& args, int timeoutMs,
                    const QByteArray& input) {
    return runClient(ClientCommand{program, args, input}, timeoutMs);
}

ClientRun runClient(const ClientCommand& command, int timeoutMs) {
    return runClients({command}, timeoutMs).front();
}

namespace {
QString curlUrl(quint16 port, const QString& remote) {
    // The name goes out as written: no dot-segment clean-up, reserved characters escaped.
    return QStringLiteral("tftp://127.0.0.1:%1/%2")
        .arg(port)
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(remote, "/")));
}

QByteArray hpaScript(const QString& command) {
    return QStringLiteral("binary\nrexmt 1\ntimeout 8\n%1\nquit\n").arg(command).toUtf8();
}
} // namespace

ClientCommand curlGet(quint16 port, const QString& remote, const QString& local, int maxSeconds) {
    return {QStringLiteral("curl"),
            {"-sS", "--path-as-is", "--max-time", QString::number(maxSeconds), "-o", local,
             curlUrl(port, remote)},
            {}};
}

ClientCommand curlPut(quint16 port, const QString& local, const QString& remote, int maxSeconds) {
    return {QStringLiteral("curl"),
            {"-sS", "--path-as-is", "--max-time", QString::number(maxSeconds), "-T", local,
             curlUrl(port, remote)},
            {}};
}

ClientCommand hpaGet(quint16 port, const QString& remote, const QString& local) {
    return {QStringLiteral("tftp"),
            {"127.0.0.1", QString::number(port)},
            hpaScript(QStringLiteral("get %1 %2").arg(remote, local))};
}

ClientCommand hpaPut(quint16 port, const QString& local, const QString& remote) {
    return {QStringLiteral("tftp"),
            {"127.0.0.1", QString::number(port)},
            hpaScript(QStringLiteral("put %1 %2").arg(local, remote))};
}

ClientCommand atftpGet(quint16 port, const QString& remote, const QString& local) {
    return {QStringLiteral("atftp"),
            {"--tftp-timeout", "1", "-g", "-r", remote, "-l", local, "127.0.0.1",
             QString::number(port)},
            {}};
}

ClientCommand atftpPut(quint16 port, const QString& local, const QString& remote) {
    return {QStringLiteral("atftp"),
            {"--tftp-timeout", "1", "-p", "-l", local, "-r", remote, "127.0.0.1",
             QString::number(port)},
            {}};
}

void ServerFixture::SetUp() {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(work.isValid());
    server = std::make_unique<QvTFTPServer>();
    server->SetDeviceAddress(QStringLiteral("127.0.0.1"));
    server->SetEventHandler(
        [this](QObject* f, QvTFTPMsg* m, bool* cancel) {
            EXPECT_EQ(f, &form);
            events.push_back(Event{m->status, m->statusText, m->sessionNumber, m->operation,
                                   m->fileName, m->clientAddress, m->totalBytes, m->lastBlockBytes,
                                   m->sendCount, m->fileSize});
            if (onEvent)
                onEvent(m, cancel);
        },
        &form);
    server->Start(dir.path(), 0);
    ASSERT_TRUE(server->isListening());
}

void ServerFixture::TearDown() {
    onEvent = nullptr;
    // Sessions a test left running are dropped, not drained.
    platform::setTimerSpeed(10000);
    if (server)
        server->Stop();
    server.reset();
    platform::setTimerSpeed(1);
}

std::vector<Event> ServerFixture::sessionEvents(int sessionNumber) const {
    std::vector<Event> out;
    for (const Event& e : events) {
        if (e.sessionNumber == sessionNumber)
            out.push_back(e);
    }
    return out;
}

std::vector<int> ServerFixture::statuses(int sessionNumber) const {
    std::vector<int> out;
    for (const Event& e : sessionEvents(sessionNumber))
        out.push_back(e.status);
    return out;
}

bool ServerFixture::waitSessionGone(int sessionNumber, int timeoutMs) {
    return pumpUntil(
        [&] {
            const auto s = statuses(sessionNumber);
            return !s.empty() && s.back() == qv::tftp::kDisconnected;
        },
        timeoutMs);
}

bool ServerFixture::waitSessionEnded(int sessionNumber, int timeoutMs) {
    return pumpUntil(
        [&] {
            const int o = outcome(sessionNumber);
            return o == qv::tftp::kSuccess || o < 0;
        },
        timeoutMs);
}

int ServerFixture::outcome(int sessionNumber) const {
    return finalEvent(sessionNumber).status;
}

Event ServerFixture::finalEvent(int sessionNumber) const {
    const auto all = sessionEvents(sessionNumber);
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->status != qv::tftp::kDisconnected)
            return *it;
    }
    return Event{};
}

int ServerFixture::lastSessionNumber() const {
    return server->templateMsg().sessionNumber;
}

QStringList ServerFixture::strayFiles(const QStringList& expected) const {
    QStringList found = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : expected)
        found.removeAll(name);
    return found;
}

RawPeer::RawPeer(const QHostAddress& local) {
    EXPECT_TRUE(socket_.bind(local, 0)) << local.toString().toStdString();
}

void RawPeer::sendTo(quint16 port, const QByteArray& datagram) {
    ASSERT_EQ(socket_.writeDatagram(datagram, QHostAddress::LocalHost, port), datagram.size());
}

std::optional<QNetworkDatagram> RawPeer::receive(int timeoutMs) {
    if (!pumpUntil([&] { return socket_.hasPendingDatagrams(); }, timeoutMs))
        return std::nullopt;
    return socket_.receiveDatagram(qv::tftp::kMaxDatagram);
}

QByteArray requestPacket(quint16 opcode, const QString& name, const QString& mode) {
    QByteArray out;
    out.append(static_cast<char>(opcode >> 8));
    out.append(static_cast<char>(opcode & 0xFF));
    out.append(name.toUtf8());
    out.append('\0');
    out.append(mode.toLatin1());
    out.append('\0');
    return out;
}

LossyRelay::LossyRelay(quint16 serverPort, double dropRate, quint32 seed)
    : serverPort_(serverPort), rng_(seed), loss_(dropRate) {
    EXPECT_TRUE(front_.bind(QHostAddress::LocalHost, 0));
    EXPECT_TRUE(upstream_.bind(QHostAddress::LocalHost, 0));
    connect(&front_, &QUdpSocket::readyRead, this, &LossyRelay::fromClientToListener);
    connect(&upstream_, &QUdpSocket::readyRead, this, &LossyRelay::fromServer);
}

bool LossyRelay::drop() {
    if (loss_(rng_)) {
        ++dropped_;
        return true;
    }
    ++forwarded_;
    return false;
}

void LossyRelay::relay(QUdpSocket& to, const QByteArray& data, const QHostAddress& host,
                       quint16 port) {
    if (!drop())
        to.writeDatagram(data, host, port);
}

void LossyRelay::fromClientToListener() {
    while (front_.hasPendingDatagrams()) {
        const QNetworkDatagram d = front_.receiveDatagram();
        client_ = d.senderAddress();
        clientPort_ = static_cast<quint16>(d.senderPort());
        relay(upstream_, d.data(), QHostAddress::LocalHost, serverPort_);
    }
}

QUdpSocket& LossyRelay::sideDoor(quint16 serverPort) {
    auto& slot = sideDoors_[serverPort];
    if (!slot) {
        slot = std::make_unique<QUdpSocket>();
        EXPECT_TRUE(slot->bind(QHostAddress::LocalHost, 0));
        QUdpSocket* door = slot.get();
        connect(door, &QUdpSocket::readyRead, this, [this, door, serverPort] {
            while (door->hasPendingDatagrams())
                relay(upstream_, door->receiveDatagram().data(), QHostAddress::LocalHost,
                      serverPort);
        });
    }
    return *slot;
}

void LossyRelay::fromServer() {
    while (upstream_.hasPendingDatagrams()) {
        const QNetworkDatagram d = upstream_.receiveDatagram();
        const auto from = static_cast<quint16>(d.senderPort());
        QUdpSocket& out = from == serverPort_ ? front_ : sideDoor(from);
        relay(out, d.data(), client_, clientPort_);
    }
}

} // namespace tftptest
