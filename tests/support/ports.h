#pragma once
// Port numbers for programs that a test starts and that must be told their port before they
// bind it (snmpd, the FTP server, the module's TFTP server through KW9100_TFTP_PORT).
//
// A port that the system handed out for port 0 and that the probe then gave back can be handed
// out again to any socket bound to port 0 before the program binds it. So the number comes from
// below the system's ephemeral range, which the system never hands out by itself: only another
// test choosing the same number can take it, and callers retry a start that was refused.
#include <QAbstractSocket>
#include <QFile>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QUdpSocket>

namespace kwtest {

// A port of 127.0.0.1 that nothing holds right now (UDP or TCP), or 0.
inline quint16 unusedPort(QAbstractSocket::SocketType type) {
    // The ephemeral range starts at 32768 unless the system says otherwise.
    int ephemeralLow = 32768;
    QFile range(QStringLiteral("/proc/sys/net/ipv4/ip_local_port_range"));
    if (range.open(QIODevice::ReadOnly)) {
        bool ok = false;
        const int low = range.readAll().simplified().split(' ').value(0).toInt(&ok);
        if (ok && low > 12000)
            ephemeralLow = low;
    }
    constexpr int kFirst = 10000; // above the ports of well-known services
    for (int attempt = 0; attempt < 200; ++attempt) {
        const auto port =
            static_cast<quint16>(QRandomGenerator::global()->bounded(kFirst, ephemeralLow));
        if (type == QAbstractSocket::UdpSocket) {
            QUdpSocket probe;
            if (probe.bind(QHostAddress::LocalHost, port, QAbstractSocket::DontShareAddress))
                return port;
        } else {
            QTcpServer probe;
            if (probe.listen(QHostAddress::LocalHost, port))
                return port;
        }
    }
    return 0;
}

} // namespace kwtest
