// Datagrams into a running TFTP server: requests, DATA, ACK and ERROR, from the managed device (two
// of its ports) and from a stranger, to the listening port or to a session's port. Input: records
// of one selector byte, one length byte (255: all that follows) and that many bytes of datagram.
// Selector bits 0-1: the sender (device, device's second port, stranger); bit 2: to the session
// port that last answered that sender rather than the listening port; bit 3: cancel the session at
// its next event.
#include "platform/timers.h"
#include "snmplib/qv_exception.h"
#include "tests/fuzz/fuzz_support.h"
#include "transfer/tftp_msg.h"
#include "transfer/tftp_server.h"

#include <array>
#include <QDir>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace {

struct Sender {
    QUdpSocket socket;
    quint16 sessionPort = 0; // where the last answer came from
};

struct Rig {
    QTemporaryDir root;
    QvTFTPServer server;
    std::array<Sender, 3> senders;
    bool cancelNext = false;

    Rig() {
        if (!root.isValid())
            std::abort();
        // Served files: one block, two full blocks, several blocks.
        for (const auto& [name, size] :
             {std::pair{"small.bin", 100}, {"two.bin", 1024}, {"big.bin", 3000}}) {
            QFile f(root.filePath(name));
            if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray(size, 'k')) != size)
                std::abort();
        }
        // Sessions that wait give up within a few milliseconds.
        platform::setTimerSpeed(1000);
        server.SetTimeouts(1, 2);
        server.SetDeviceAddress(QStringLiteral("127.0.0.1"));
        server.SetEventHandler(
            [this](QObject*, QvTFTPMsg* msg, bool* cancel) {
                KW_FUZZ_CHECK(msg->statusText == qv::tftp::statusText(msg->status));
                KW_FUZZ_CHECK(msg->totalBytes >= 0);
                if (cancelNext)
                    *cancel = true;
            },
            nullptr);
        const QHostAddress local[] = {QHostAddress(QStringLiteral("127.0.0.1")),
                                      QHostAddress(QStringLiteral("127.0.0.1")),
                                      QHostAddress(QStringLiteral("127.0.0.2"))};
        for (std::size_t i = 0; i < senders.size(); ++i) {
            if (!senders[i].socket.bind(local[i], 0))
                std::abort();
        }
    }

    void collectAnswers() {
        for (Sender& s : senders) {
            while (s.socket.hasPendingDatagrams()) {
                const QNetworkDatagram d = s.socket.receiveDatagram();
                if (d.senderPort() > 0 && d.senderPort() != server.port())
                    s.sessionPort = static_cast<quint16>(d.senderPort());
            }
        }
    }

    // Files an upload left in the root go, so that every input meets the same root.
    void cleanRoot() {
        const QStringList served{"small.bin", "two.bin", "big.bin"};
        for (const QString& name : QDir(root.path()).entryList(QDir::Files | QDir::Hidden)) {
            if (!served.contains(name))
                QFile::remove(root.filePath(name));
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::start();
    static Rig rig;
    try {
        rig.server.Start(rig.root.path(), 0);
    } catch (const QvException&) {
        std::abort(); // an ephemeral port is always to be had on loopback
    }
    for (Sender& s : rig.senders)
        s.sessionPort = 0;
    rig.cancelNext = false;

    std::size_t at = 0;
    while (at + 2 <= size) {
        const uint8_t selector = data[at];
        // Length 255: the rest of the input, for datagrams longer than any buffer.
        const std::size_t rest = size - at - 2;
        const std::size_t length =
            data[at + 1] == 255 ? rest : std::min<std::size_t>(data[at + 1], rest);
        const QByteArray datagram(reinterpret_cast<const char*>(data + at + 2),
                                  static_cast<qsizetype>(length));
        at += 2 + length;

        Sender& from = rig.senders[(selector & 3) % rig.senders.size()];
        const quint16 to =
            (selector & 4) && from.sessionPort ? from.sessionPort : rig.server.port();
        rig.cancelNext = (selector & 8) != 0;
        from.socket.writeDatagram(datagram, QHostAddress(QStringLiteral("127.0.0.1")), to);
        // The server reads the datagram and answers on this thread.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        rig.collectAnswers();
    }
    rig.server.Stop();
    rig.collectAnswers();
    rig.cleanRoot();
    return 0;
}
