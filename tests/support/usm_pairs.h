#pragma once
// Every pair of SNMPv3 protocols the module offers: the session's numbers, the names net-snmp's
// agents give them in a "createUser" line, and the simulated device's user of the pair
// ("kw" + authentication + privacy, as device/profiles/base.inc lists them).
#include <QString>

namespace kwtest {

struct UsmAuth {
    const char* user;  // part of the user name
    const char* agent; // createUser name
    int protocol;      // QvSNMPSecurity::authProtocol
};

struct UsmPriv {
    const char* user; // empty: authNoPriv
    const char* agent;
    int protocol; // QvSNMPSecurity::privProtocol (1 = none)
};

inline constexpr UsmAuth kUsmAuths[] = {
    {"md5", "MD5", 2},        {"sha", "SHA", 3},        {"sha224", "SHA-224", 4},
    {"sha256", "SHA-256", 5}, {"sha384", "SHA-384", 6}, {"sha512", "SHA-512", 7},
};

inline constexpr UsmPriv kUsmPrivs[] = {
    {"", "", 1},
    {"des", "DES", 2},
    {"aes", "AES", 19},
    {"aes192", "AES-192", 20},
    {"aes256", "AES-256", 21},
};

struct UsmPair {
    UsmAuth auth;
    UsmPriv priv;
    QString user() const { return QStringLiteral("kw%1%2").arg(auth.user, priv.user); }
    bool withPrivacy() const { return priv.protocol != 1; }
    int level() const { return withPrivacy() ? 3 : 2; } // authPriv, authNoPriv
    QString what() const {
        return QStringLiteral("%1/%2").arg(auth.agent,
                                           withPrivacy() ? QString(priv.agent) : "authNoPriv");
    }
};

// The thirty pairs, authentication by authentication.
template <typename Visit> void forEachUsmPair(Visit visit) {
    for (const UsmAuth& a : kUsmAuths) {
        for (const UsmPriv& p : kUsmPrivs)
            visit(UsmPair{a, p});
    }
}

} // namespace kwtest
