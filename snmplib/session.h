#pragma once
// The global session parameters: where the device is, which SNMPv3 context is addressed and how
// the module authenticates. One instance of each for the whole process; filled once at start-up,
// copied by every request when it is constructed.
#include <QByteArray>
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
    // 1 none, 2 HMAC-MD5, 3 HMAC-SHA, 4 HMAC-SHA-224, 5 HMAC-SHA-256, 6 HMAC-SHA-384,
    // 7 HMAC-SHA-512 (the last arc of the protocol's identifier)
    int authProtocol = 1;
    // 1 none, 2 DES, 9 IDEA, 19 AES-128, 20 AES-192, 21 AES-256
    int privProtocol = 1;
    // The user's keys made from the pass phrases with the authentication protocol's hash
    // (makeUserKeys); each session localises them to the device's engine. Used instead of the
    // pass phrases when not empty.
    QByteArray authKey;
    QByteArray privKey;
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

// Makes the user's keys of an SNMPv3 record from its pass phrases and its authentication
// protocol, then wipes the pass phrases. A pass phrase that gives no key (too short, or the
// protocol is not one the module knows) leaves its key empty, so an exchange that needs it fails
// as it would have with the pass phrase.
void makeUserKeys(QvSNMPSecurity& security);

} // namespace qv
