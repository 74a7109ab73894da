#pragma once
// "Advanced \ Encryption": the security of radio 1 on devices without multiple SSIDs:
// authentication, WEP keys, WPA pass phrase, cipher and group-key interval, and the security
// server (DNS and RADIUS) of WPA-Enterprise. The security objects are the wireless page's.
#include "tables/mode.h"
#include "tables/wireless.h"

namespace tables::encrypt {

using enum QvSyntax::Code;
inline constexpr quint32 kRW = QvAccess::readwrite;
inline constexpr quint32 kRO = QvAccess::readonly;

// Authentication, encryption, valid key of both radios and the keys of both (the second radio's
// items stay invalid: its tab is hidden).
inline constexpr auto& kSecurity = wireless::kPrimarySecurity;
inline constexpr int kAuthentication = wireless::kSecAuthentication;
inline constexpr int kEncryption = wireless::kSecEncryption;
inline constexpr int kValidKey = wireless::kSecValidKey;
inline constexpr int kFirstKey = wireless::kSecFirstKey;
inline constexpr int kKeys = 4;

// The AP mode at radio 1's instance, as every other page reads it.
inline constexpr QvSNMPVarDef kApModeList[] = {
    {"devMib.2.1.1.1.1", "adAPMode", integer, kRW, mode::kApModes}};
enum ApModeVar { kApModeValue };

inline constexpr QvSNMPVarDef kCodeBase[] = {{"devMib.99.1.1.5", "codebase", displaystr, kRO}};
enum CodeBaseVar { kCodeBaseValue };

// MVT_SV: the OIDs carry their ".0".
inline constexpr QvSNMPVarDef kSecurityServer[] = {
    {"devMib.2.5.2.1.0", "Sec DNS IP Address", ipaddress, kRW},
    {"devMib.2.5.2.2.0", "Sec DNS", displaystr, kRW},
    {"devMib.2.5.2.3.0", "Sec RADIUS Server", displaystr, kRW},
    {"devMib.2.5.2.4.0", "Sec RADIUS Port", integer, kRW},
    {"devMib.2.5.2.5.0", "Sec RADIUS Secret", displaystr, kRW},
};
enum ServerVar { kDnsIp, kDnsName, kRadiusServer, kRadiusPort, kRadiusSecret };

inline constexpr QvSNMPVarDef kPassPhraseA[] = {
    {"devMib.2.5.1.1.4.1", "adSecPassPhrase", displaystr, kRW},
    {"devMib.2.5.1.1.5.1", "adSecCipherType", integer, kRW, wireless::kCipher},
    {"devMib.2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", integer, kRW},
};
enum PassPhraseVar { kPassPhrase, kCipher, kGroupKeyInterval };

} // namespace tables::encrypt
