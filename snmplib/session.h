#pragma once
// The global session parameters: where the device is, which SNMPv3 context is addressed and how
// the module authenticates. One instance of each for the whole process; filled once at start-up,
// copied by every request when it is constructed.
#include <QString>
#include <QtGlobal>

struct QvSNMPDevice {
    QString address;
    quint16 port = 161;
};

struct QvSNMPScope {
    QString contextEngineId;
    QString contextName;
};

struct QvSNMPSecurity {
    quint8 version = 0; // 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3
    QString readCommunity;
    QString writeCommunity;
    int securityModel = 1;
    int securityLevel = 1; // 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv
    QString securityName;
    QString authPassword;
    QString privPassword;
    int authProtocol = 1; // 1 none, 2 HMAC-MD5, 3 HMAC-SHA
    int privProtocol = 1; // 1 none, 2 DES, 9 IDEA
};

namespace qv {

QvSNMPDevice& sessionDevice();
QvSNMPScope& sessionScope();
QvSNMPSecurity& sessionSecurity();
// Per-try time-out in hundredths of a second that every new request copies.
int& defaultTimeout();

// Creates the global session once: advances the boot counter kept in `bootCounterDir` (empty:
// the working directory), resets every parameter to its default and starts delivering
// asynchronous answers. Raises QvException -506, -507 or -508.
void CreateSession(const QString& bootCounterDir);

} // namespace qv
