// Throughput of the module's TFTP server against tftpd-hpa's in.tftpd, both on loopback, both
// driven by curl with 512-byte blocks: a 16 MiB file fetched (read request) and stored (write
// request), several rounds each, best round counted. Prints MiB/s and the ratio ours / in.tftpd
// for both directions.
//
// Usage: kw_bench_tftp [--size-mib N] [--rounds N] [--no-options]
#include "transfer/tftp_server.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <random>
#include <unistd.h>

namespace {

[[noreturn]] void die(const QString& why) {
    std::fprintf(stderr, "kw_bench_tftp: %s\n", qPrintable(why));
    std::exit(1);
}

QByteArray sha1Of(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(&f);
    return h.result();
}

void writeRandomFile(const QString& path, qint64 size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        die("cannot write " + path);
    std::mt19937 rng(16);
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= chunk.size()) {
        for (char& c : chunk)
            c = static_cast<char>(rng());
        f.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
    }
}

// A UDP port on 127.0.0.1 that nobody uses right now.
quint16 freePort() {
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::LocalHost, 0))
        die("no free UDP port");
    return probe.localPort();
}

// Runs curl with the event loop turning (our server lives on this thread); the wall time in
// seconds, or a negative value when curl failed.
QStringList g_curlExtra; // --no-options: both servers see the same plain RFC 1350 exchange

double timedCurl(QStringList args) {
    args = g_curlExtra + args;
    QProcess curl;
    curl.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    curl.start(QStringLiteral("curl"), args);
    QTimer wake;
    wake.start(5);
    while (curl.state() != QProcess::NotRunning && t.elapsed() < 300000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    const double seconds = t.nsecsElapsed() / 1e9;
    if (curl.state() != QProcess::NotRunning) {
        curl.kill();
        curl.waitForFinished();
        return -1;
    }
    return curl.exitStatus() == QProcess::NormalExit && curl.exitCode() == 0 ? seconds : -1;
}

struct Server {
    QString name;
    quint16 port;
    QString servedName; // what to ask for
    QString storedName; // what to store as
    QString storedPath; // where the stored file lands
};

struct Result {
    double get = 1e9; // best seconds
    double put = 1e9;
};

// One fetch and one store; each checked byte for byte. Keeps the better times in `best`.
void oneRound(const Server& s, const QString& source, const QString& fetched,
              const QByteArray& expected, Result& best) {
    const QString base = QStringLiteral("tftp://127.0.0.1:%1/").arg(s.port);
    QFile::remove(fetched);
    const double get = timedCurl({"-sS", "-o", fetched, base + s.servedName});
    if (get < 0 || sha1Of(fetched) != expected)
        die(s.name + ": fetch failed or file differs");
    best.get = std::min(best.get, get);

    QFile::remove(s.storedPath);
    const double put = timedCurl({"-sS", "-T", source, base + s.storedName});
    if (put < 0 || sha1Of(s.storedPath) != expected)
        die(s.name + ": store failed or file differs");
    best.put = std::min(best.put, put);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int sizeMiB = 16;
    int rounds = 3;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--no-options") {
            g_curlExtra << "--tftp-no-options";
            continue;
        }
        if (i + 1 >= args.size())
            die("missing value for " + args[i]);
        if (args[i] == "--size-mib")
            sizeMiB = std::max(1, args[++i].toInt());
        else if (args[i] == "--rounds")
            rounds = std::max(1, args[++i].toInt());
        else
            die("unknown option " + args[i]);
    }
    const QString tftpd = QStandardPaths::findExecutable("in.tftpd", {"/usr/sbin", "/sbin"});
    if (tftpd.isEmpty() || QStandardPaths::findExecutable("curl").isEmpty())
        die("needs curl and in.tftpd (tftpd-hpa); run scripts/install-deps.sh");

    QTemporaryDir work;
    if (!work.isValid())
        die("no temporary directory");
    QDir(work.path()).mkpath("ours");
    QDir(work.path()).mkpath("hpa");
    const qint64 size = qint64(sizeMiB) * 1024 * 1024;
    const QString source = work.filePath("source.bin");
    writeRandomFile(source, size);
    const QByteArray expected = sha1Of(source);
    QFile::copy(source, work.filePath("ours/bench.bin"));
    QFile::copy(source, work.filePath("hpa/bench.bin"));
    const QString fetched = work.filePath("fetched.bin");

    // Ours, on an ephemeral port, admitting loopback.
    QvTFTPServer ours;
    ours.SetDeviceAddress("127.0.0.1");
    ours.Start(work.filePath("ours"), 0);

    // in.tftpd in the foreground on a loopback port. As root it is confined to its directory;
    // otherwise it serves absolute names inside the listed directory.
    const bool root = geteuid() == 0;
    const quint16 hpaPort = freePort();
    const QString hpaDir = work.filePath("hpa");
    QStringList hpaArgs{"-L", "-a", QStringLiteral("127.0.0.1:%1").arg(hpaPort), "-c"};
    if (root)
        hpaArgs << "-s" << hpaDir << "-u"
                << "root";
    else
        hpaArgs << "-u" << qEnvironmentVariable("USER") << hpaDir;
    QProcess hpa;
    hpa.setProcessChannelMode(QProcess::ForwardedChannels);
    hpa.start(tftpd, hpaArgs);
    if (!hpa.waitForStarted(5000))
        die("in.tftpd did not start");
    QThread::msleep(300);
    if (hpa.state() != QProcess::Running)
        die("in.tftpd ended at start");

    const QString hpaPrefix = root ? QString() : hpaDir + "/";
    const Server servers[] = {
        {"module", ours.port(), "bench.bin", "stored.bin", work.filePath("ours/stored.bin")},
        {"in.tftpd", hpaPort, hpaPrefix + "bench.bin", hpaPrefix + "stored.bin",
         hpaDir + "/stored.bin"},
    };
    Result results[2];
    // Alternate the servers so that a change in machine load hits both.
    for (int r = 0; r < rounds; ++r) {
        for (int s = 0; s < 2; ++s)
            oneRound(servers[s], source, fetched, expected, results[s]);
    }
    hpa.terminate();
    if (!hpa.waitForFinished(3000)) {
        hpa.kill();
        hpa.waitForFinished();
    }
    ours.Stop();

    const double mib = static_cast<double>(sizeMiB);
    std::printf("TFTP throughput, %d MiB file, curl, 512-byte blocks, best of %d rounds\n", sizeMiB,
                rounds);
    std::printf("%-10s %14s %14s\n", "server", "fetch MiB/s", "store MiB/s");
    for (int s = 0; s < 2; ++s)
        std::printf("%-10s %14.2f %14.2f\n", qPrintable(servers[s].name), mib / results[s].get,
                    mib / results[s].put);
    std::printf("ratio module/in.tftpd: fetch %.2f, store %.2f (above 1: the module is faster)\n",
                results[1].get / results[0].get, results[1].put / results[0].put);
    return 0;
}
