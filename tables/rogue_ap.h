#pragma once
// "Advanced\Rogue AP" (TFM_RogueForm): the radio's state, the scan filter, the commands that
// scan, accept and delete access points, the two tables and rogue AP protection.
#include "snmplib/varlist.h"

namespace tables::rogue_ap {

inline constexpr QvOptionSource kRadioOptions[] = {{0, "Off"}, {1, "On"}};
inline constexpr QvSNMPVarDef kRadio[] = {
    {"devMib.2.3.1.12.1", "adRadioWave", QvSyntax::integer, QvAccess::readwrite, kRadioOptions},
};
enum RadioVar { kRadioWave };

inline constexpr QvOptionSource kBssTypeOptions[] = {{1, "AP BSS"}, {2, "Ad Hoc"}, {3, "Both"}};
inline constexpr QvSNMPVarDef kFilter[] = {
    {"devMib.2.10.1.0", "bssTypeDetected", QvSyntax::integer, QvAccess::readwrite, kBssTypeOptions},
    {"devMib.2.10.2.0", "bandTypeDetected", QvSyntax::integer, QvAccess::readwrite},
    {"devMib.2.10.3.0", "securityTypeDetected", QvSyntax::integer, QvAccess::readwrite},
};
enum FilterVar { kBssType, kBandType, kSecurityType };

inline constexpr QvOptionSource kDetectOptions[] = {{0, "nothing"}, {1, "detect"}};
inline constexpr QvSNMPVarDef kDetect[] = {
    {"devMib.2.10.4.1.1", "rogueAPDetect", QvSyntax::integer, QvAccess::readwrite, kDetectOptions},
};
enum DetectVar { kDetectCommand };

inline constexpr QvSNMPVarDef kAdd[] = {
    {"devMib.2.10.4.1.2", "addRogueAPtoAPList", QvSyntax::integer, QvAccess::readwrite},
};
enum AddVar { kAddIndex };

inline constexpr QvSNMPVarDef kDeleteRogue[] = {
    {"devMib.2.10.4.1.3", "deleteRogueAPFromResult", QvSyntax::integer, QvAccess::readwrite},
};
enum DeleteRogueVar { kDeleteRogueIndex };

inline constexpr QvOptionSource kSecurityOptions[] = {
    {0, "OFF"},
    {1, "WEP"},
    {2, "WPA-Enterprise"},
    {3, "WPA-Personal"},
    {4, "WPA2-Enterprise"},
    {5, "WPA2-Personal"},
    {6, "WPA-Auto-Enterprise"},
    {7, "WPA-Auto-Personal"},
};
inline constexpr QvOptionSource kModeOptions[] = {{0, "a"}, {2, "b"}, {3, "g"}};

// The key is decoded from each row's instance and never fetched: it names the table's first
// column.
inline constexpr QvSNMPVarDef kRogueTable[] = {
    {"devMib.2.10.4.1.4.1.1", "ifIndex", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.2.10.4.1.4.1.2", "Type", QvSyntax::displaystr, QvAccess::readonly},
    {"devMib.2.10.4.1.4.1.3", "CH", QvSyntax::integer, QvAccess::readonly},
    {"devMib.2.10.4.1.4.1.5", "BSSID", QvSyntax::macaddress, QvAccess::readonly},
    {"devMib.2.10.4.1.4.1.9", "Security", QvSyntax::integer, QvAccess::readonly, kSecurityOptions},
    {"devMib.2.10.4.1.4.1.7", "Mode", QvSyntax::integer, QvAccess::readonly, kModeOptions},
    {"devMib.2.10.4.1.4.1.8", "SSID", QvSyntax::displaystr, QvAccess::readonly},
};

inline constexpr QvSNMPVarDef kDeleteAccepted[] = {
    {"devMib.2.10.4.2.1", "deleteRogueAPfromAPList", QvSyntax::integer, QvAccess::readwrite},
};
enum DeleteAcceptedVar { kDeleteAcceptedIndex };

inline constexpr QvSNMPVarDef kApTable[] = {
    {"devMib.2.10.4.2.2.1.1", "Index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.2.10.4.2.2.1.2", "Type", QvSyntax::displaystr, QvAccess::readonly},
    {"devMib.2.10.4.2.2.1.3", "CH", QvSyntax::integer, QvAccess::readonly},
    {"devMib.2.10.4.2.2.1.5", "BSSID", QvSyntax::macaddress, QvAccess::readonly},
    {"devMib.2.10.4.2.2.1.9", "Security", QvSyntax::integer, QvAccess::readonly, kSecurityOptions},
    {"devMib.2.10.4.2.2.1.7", "Mode", QvSyntax::integer, QvAccess::readonly, kModeOptions},
    {"devMib.2.10.4.2.2.1.8", "SSID", QvSyntax::displaystr, QvAccess::readonly},
};
// Both tables: the key, then the columns in this order.
enum TableVar { kIndex, kType, kChannel, kBssid, kSecurity, kMode, kSsid };

inline constexpr QvSNMPVarDef kSupport[] = {
    {"devMib.99.1.1.48", "rogueApProtectionSupported", QvSyntax::integer, QvAccess::readonly},
};
enum SupportVar { kProtectionSupported };

inline constexpr QvOptionSource kProtectionOptions[] = {{0, "Disable"}, {1, "Enable"}};
inline constexpr QvSNMPVarDef kProtection[] = {
    {"devMib.2.10.5", "adRogueApProtection", QvSyntax::integer, QvAccess::readwrite,
     kProtectionOptions},
};
enum ProtectionVar { kProtectionState };

} // namespace tables::rogue_ap
