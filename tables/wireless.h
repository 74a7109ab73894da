#pragma once
// Variables of the wireless page (Home \ Wireless): the radio of instance 1 (instance 2 belongs to
// the hidden second tab), the Super G and channel lists, the security of the primary SSID with
// RADIUS and accounting, the multi-SSID and guest objects it keeps consistent, the AP mode with
// its remote access points, and the site survey.
#include "snmplib/varlist.h"

namespace tables::wireless {

inline constexpr QvOptionSource kDisableEnable[] = {{0, "Disable"}, {1, "Enable"}};
inline constexpr QvOptionSource kBgMode[] = {{0, "11g only"}, {1, "11b only"}, {2, "Mixed"}};
inline constexpr QvOptionSource kSuperModeRogue0[] = {{1, "Super G without Turbo"},
                                                      {2, "Super G with Static Turbo"},
                                                      {3, "Super G with Dynamic Turbo"},
                                                      {4, "Disable"}};
inline constexpr QvOptionSource kSuperModeRogue1[] = {
    {1, "Enable without Turbo"}, {3, "Enable with Dynamic Turbo"}, {4, "Disable"}};
inline constexpr QvOptionSource kRadioWave[] = {{0, "Off"}, {1, "On"}};
inline constexpr QvOptionSource kConsistent[] = {{0, "nothing"}, {1, "consistent"}};
inline constexpr QvOptionSource kAuthentication[] = {
    {1, "Open System"},     {2, "Shared Key"},        {3, "Open System / Shared Key"},
    {4, "WPA-Personal"},    {5, "WPA-Enterprise"},    {6, "WPA2-Personal"},
    {7, "WPA2-Enterprise"}, {8, "WPA-Auto-Personal"}, {9, "WPA-Auto-Enterprise"}};
inline constexpr QvOptionSource kValidKey[] = {
    {1, "First"}, {2, "Second"}, {3, "Third"}, {4, "Fourth"}};
inline constexpr QvOptionSource kGuestKeyIndex[] = {
    {1, "first"}, {2, "second"}, {3, "third"}, {4, "fourth"}};
inline constexpr QvOptionSource kKeyType[] = {{2, "HEX"}, {1, "ASCII"}};
inline constexpr QvOptionSource kCipher[] = {{1, "Auto"}, {2, "AES"}, {3, "TKIP"}};
inline constexpr QvOptionSource kApMode[] = {
    {1, "Access Point"}, {2, "PtP Bridge"},  {3, "PtMP Bridge"}, {4, "AP Repeater"},
    {5, "AP Client"},    {6, "PtP Without"}, {7, "P2MP Without"}};
inline constexpr QvOptionSource kSurveyTrigger[] = {{0, "nothing"}, {1, "refresh"}};

using enum QvSyntax::Code;
inline constexpr quint32 kRW = QvAccess::readwrite;
inline constexpr quint32 kRO = QvAccess::readonly;
inline constexpr quint32 kInvalid = QvAccess::invalid;

// Radio list: instance 1 (items 0-4) for the first tab, instance 2 (items 5-9) for the second.
inline constexpr int kRadioInstanceItems = 5;
inline constexpr QvSNMPVarDef kRadio[] = {
    {"devMib.1.1.1.1.1", "hSSID", displaystr, kRW},
    {"devMib.1.1.1.2.1", "hSSIDBroadcast", integer, kRW, kDisableEnable},
    {"devMib.1.1.1.3.1", "hChannel", integer, kRW},
    {"devMib.1.1.1.4.1", "hChannelList", displaystr, kRO},
    {"devMib.1.1.1.5.1", "hRadioFrequency", displaystr, kRO},
    {"devMib.1.1.1.1.2", "hSSID", displaystr, kRW},
    {"devMib.1.1.1.2.2", "hSSIDBroadcast", integer, kRW, kDisableEnable},
    {"devMib.1.1.1.3.2", "hChannel", integer, kRW},
    {"devMib.1.1.1.4.2", "hChannelList", displaystr, kRO},
    {"devMib.1.1.1.5.2", "hRadioFrequency", displaystr, kRO},
};
inline constexpr int kRadioSsid = 0;

inline constexpr QvSNMPVarDef kBgModeList[] = {
    {"devMib.2.3.1.24", "adbgMode", integer, kRW, kBgMode}};
inline constexpr QvSNMPVarDef kSuperG0[] = {
    {"devMib.2.3.1.11", "adSuperMode", integer, kRW, kSuperModeRogue0}};
inline constexpr QvSNMPVarDef kSuperG1[] = {
    {"devMib.2.3.1.11", "adSuperMode", integer, kRW, kSuperModeRogue1}};
inline constexpr QvSNMPVarDef kDynamicChannels[] = {
    {"devMib.2.3.1.15", "adDynamicChannelList", displaystr, kRO}};
inline constexpr QvSNMPVarDef kStaticChannels[] = {
    {"devMib.2.3.1.16", "adStaticChannelList", displaystr, kRO}};
inline constexpr QvSNMPVarDef kRadioOnOff[] = {
    {"devMib.2.3.1.12.1", "adRadioWave", integer, kRW, kRadioWave}};
inline constexpr QvSNMPVarDef kMultiOverWds[] = {
    {"devMib.2.3.1.26.1", "multioverwdsconsistent", integer, kRW, kConsistent}};
inline constexpr QvSNMPVarDef kAutoChannelScan[] = {
    {"devMib.2.3.1.14.1", "adAutoChannelScan", integer, kRW, kDisableEnable}};

// Primary security: items 0-2 instance 1, 3-5 instance 2 (never used), keys 6-9 of instance 1,
// 10-13 of instance 2 (never used).
inline constexpr QvSNMPVarDef kPrimarySecurity[] = {
    {"devMib.2.5.1.1.1.1", "adSecAuthentication-a", integer, kRW, kAuthentication},
    {"devMib.2.5.1.1.2.1", "adSecEncryption-a", integer, kRW, kDisableEnable},
    {"devMib.2.5.1.1.3.1", "adSecValidKey-a", integer, kRW, kValidKey},
    {"devMib.2.5.1.1.1.2", "adSecAuthentication-g", integer, kInvalid, kAuthentication},
    {"devMib.2.5.1.1.2.2", "adSecEncryption-g", integer, kInvalid, kDisableEnable},
    {"devMib.2.5.1.1.3.2", "adSecValidKey-g", integer, kInvalid, kValidKey},
    {"devMib.2.5.3.1.1.1.1", "adSecKey-80211a-1", displaystr, kRW},
    {"devMib.2.5.3.1.1.1.2", "adSecKey-80211a-2", displaystr, kRW},
    {"devMib.2.5.3.1.1.1.3", "adSecKey-80211a-3", displaystr, kRW},
    {"devMib.2.5.3.1.1.1.4", "adSecKey-80211a-4", displaystr, kRW},
    {"devMib.2.5.3.1.1.2.1", "adSecKey-80211g-1", displaystr, kInvalid},
    {"devMib.2.5.3.1.1.2.2", "adSecKey-80211g-2", displaystr, kInvalid},
    {"devMib.2.5.3.1.1.2.3", "adSecKey-80211g-3", displaystr, kInvalid},
    {"devMib.2.5.3.1.1.2.4", "adSecKey-80211g-4", displaystr, kInvalid},
};
inline constexpr int kSecAuthentication = 0;
inline constexpr int kSecEncryption = 1;
inline constexpr int kSecValidKey = 2;
inline constexpr int kSecFirstKey = 6;

inline constexpr QvSNMPVarDef kKeyTypeList[] = {
    {"devMib.2.5.1.1.7", "adSecKeyType", integer, kRW, kKeyType}};

inline constexpr QvSNMPVarDef kPrimaryRadius[] = {
    {"devMib.2.5.1.1.5.1", "adSecCipherType", integer, kRW, kCipher},
    {"devMib.2.5.2.4.0", "Sec RADIUS Port", integer, kRW},
    {"devMib.2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", integer, kRW},
    {"devMib.2.5.2.3.0", "Sec RADIUS Server", displaystr, kRW},
    {"devMib.2.5.2.5.0", "Sec RADIUS Secret", displaystr, kRW},
};

inline constexpr QvSNMPVarDef kPassPhrase[] = {
    {"devMib.2.5.1.1.5.1", "adSecCipherType", integer, kRW, kCipher},
    {"devMib.2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", integer, kRW},
    {"devMib.2.5.1.1.4.1", "adSecPassPhrase", displaystr, kRW},
};

inline constexpr QvSNMPVarDef kAccounting[] = {
    {"devMib.2.5.1.1.8.1", "adSecAccountMode", integer, kRW, kDisableEnable},
    {"devMib.2.5.1.1.9.1", "adSecAccountServer", displaystr, kRW},
    {"devMib.2.5.1.1.10.1", "adSecAccountPort", integer, kRW},
};

inline constexpr QvSNMPVarDef kRadiusBackupSupport[] = {
    {"devMib.99.1.1.45", "secBackupRadiusSupported", integer, kRO}};
inline constexpr QvSNMPVarDef kAccountBackupSupport[] = {
    {"devMib.99.1.1.46", "secBackupAccountSupported", integer, kRO}};

inline constexpr QvSNMPVarDef kSecondaryRadius[] = {
    {"devMib.2.5.2.6", "adSecbackupRADIUSServer", displaystr, kRW},
    {"devMib.2.5.2.7", "adSecbackupRADIUSPort", integer, kRW},
    {"devMib.2.5.2.9", "adSecbackupRADIUSSecret", displaystr, kRW},
    {"devMib.2.5.2.10", "adSecbackupRADIUSStatus", integer, kRW, kDisableEnable},
};

inline constexpr QvSNMPVarDef kSecondaryAccounting[] = {
    {"devMib.2.5.1.1.11.1", "adSecBackupAccountMode", integer, kRW, kDisableEnable},
    {"devMib.2.5.1.1.12.1", "adSecBackupAccountServer", displaystr, kRW},
    {"devMib.2.5.1.1.13.1", "adSecBackupAccountPort", integer, kRW},
};

// Multi-SSID objects (devices with the newer multi-SSID support).
inline constexpr QvSNMPVarDef kMultiState[] = {
    {"devMib.2.9.3.1.1", "adMSSIDState", integer, kRW, kDisableEnable}};

// The SSID table: rows keyed by interface and SSID index; row 0 is the primary SSID.
inline constexpr QvSNMPVarDef kSsidTable[] = {
    {"devMib.2.9.2.1.0", "ifIndex", integer, QvAccess::notaccess},
    {"devMib.2.9.2.1.1", "adMSSIDIndex", integer, QvAccess::notaccess},
    {"devMib.2.9.2.1.3", "adMSSIDSSID", displaystr, kRW},
    {"devMib.2.9.2.1.2", "adMSSIDIdvState", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.4", "adMSSIDAuth", integer, kRW, kAuthentication},
    {"devMib.2.9.2.1.5", "adMSSIDEncryption", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.6", "adMSSIDKeyIndex", integer, kRW, kValidKey},
    {"devMib.2.9.2.1.7", "adMSSIDKey", displaystr, kRW},
    {"devMib.2.9.2.1.8", "adVlanTagID", integer, kRW},
    {"devMib.2.9.2.1.11", "adMSSIDCipherType", integer, kRW, kCipher},
    {"devMib.2.9.2.1.12", "adMSSIDPassPhrase", displaystr, kRW},
    {"devMib.2.9.2.1.13", "adMSSIDKeyType", integer, kRW, kKeyType},
};
// Columns of the SSID table's list view.
inline constexpr int kSsidColumnSsid = 2;
inline constexpr int kSsidColumnState = 3;
inline constexpr int kSsidColumnAuth = 4;
inline constexpr int kSsidColumnEncryption = 5;
inline constexpr int kSsidColumnKeyIndex = 6;

// Encryption (items 0-6) and authentication (items 7-13) of the secondary SSIDs 2 to 8; both
// lists carry all fourteen and bind one half each.
inline constexpr QvSNMPVarDef kMultiSecurity[] = {
    {"devMib.2.9.2.1.5.1.2", "adMSSIDEncryption", integer, kInvalid, kDisableEnable},
    {"devMib.2.9.2.1.5.1.3", "adMSSIDEncryption", integer, kInvalid, kDisableEnable},
    {"devMib.2.9.2.1.5.1.4", "adMSSIDEncryption", integer, kInvalid, kDisableEnable},
    {"devMib.2.9.2.1.5.1.5", "adMSSIDEncryption", integer, kInvalid, kDisableEnable},
    {"devMib.2.9.2.1.5.1.6", "adMSSIDEncryption", integer, kInvalid, kDisableEnable},
    {"devMib.2.9.2.1.5.1.7", "adMSSIDEncryption", integer, kInvalid, kDisableEnable},
    {"devMib.2.9.2.1.5.1.8", "adMSSIDEncryption", integer, kInvalid, kDisableEnable},
    {"devMib.2.9.2.1.4.1.2", "adMSSIDAuth", integer, kInvalid, kAuthentication},
    {"devMib.2.9.2.1.4.1.3", "adMSSIDAuth", integer, kInvalid, kAuthentication},
    {"devMib.2.9.2.1.4.1.4", "adMSSIDAuth", integer, kInvalid, kAuthentication},
    {"devMib.2.9.2.1.4.1.5", "adMSSIDAuth", integer, kInvalid, kAuthentication},
    {"devMib.2.9.2.1.4.1.6", "adMSSIDAuth", integer, kInvalid, kAuthentication},
    {"devMib.2.9.2.1.4.1.7", "adMSSIDAuth", integer, kInvalid, kAuthentication},
    {"devMib.2.9.2.1.4.1.8", "adMSSIDAuth", integer, kInvalid, kAuthentication},
};
inline constexpr int kSecondarySsids = 7;

// Guest SSIDs (devices with the earlier multi-SSID support).
inline constexpr QvSNMPVarDef kGuestState[] = {
    {"devMib.2.9.1.1.1.1", "adVlanState", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.2.1.2", "adMSSIDState", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.2.1.3", "adMSSIDState", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.2.1.4", "adMSSIDState", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.5.1.2", "adMSSIDEncryption", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.5.1.3", "adMSSIDEncryption", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.5.1.4", "adMSSIDEncryption", integer, kRW, kDisableEnable},
};
inline constexpr QvSNMPVarDef kGuestKeyIndexList[] = {
    {"devMib.2.9.2.1.6.1.2", "adMSSIDKeyIndex", integer, kRW, kGuestKeyIndex},
    {"devMib.2.9.2.1.6.1.3", "adMSSIDKeyIndex", integer, kRW, kGuestKeyIndex},
    {"devMib.2.9.2.1.6.1.4", "adMSSIDKeyIndex", integer, kRW, kGuestKeyIndex},
};
inline constexpr int kGuests = 3;

// AP mode with the eight remote access points of the bridge modes.
inline constexpr QvSNMPVarDef kApModeList[] = {
    {"devMib.2.1.1.1.1", "adAPMode", integer, kRW, kApMode},
    {"devMib.2.2.1.2.1.1", "adPtPRemoteAPMACAddress", macaddress, kRW},
    {"devMib.2.2.1.2.1.2", "adPtPRemoteAPMACAddress", macaddress, kRW},
    {"devMib.2.2.1.2.1.3", "adPtPRemoteAPMACAddress", macaddress, kRW},
    {"devMib.2.2.1.2.1.4", "adPtPRemoteAPMACAddress", macaddress, kRW},
    {"devMib.2.2.1.2.1.5", "adPtPRemoteAPMACAddress", macaddress, kRW},
    {"devMib.2.2.1.2.1.6", "adPtPRemoteAPMACAddress", macaddress, kRW},
    {"devMib.2.2.1.2.1.7", "adPtPRemoteAPMACAddress", macaddress, kRW},
    {"devMib.2.2.1.2.1.8", "adPtPRemoteAPMACAddress", macaddress, kRW},
};
inline constexpr int kRemoteMacs = 8;

inline constexpr QvSNMPVarDef kSurveyTriggerList[] = {
    {"devMib.2.8.1.1.1", "adRefresh", integer, kRW, kSurveyTrigger}};

// Captions with their leading blanks are the list view's column headers.
inline constexpr QvSNMPVarDef kSurveyTable[] = {
    {"devMib.2.8.2.1.1", "Index", integer, QvAccess::notaccess},
    {"devMib.2.8.2.1.2", " Type", displaystr, kRO},
    {"devMib.2.8.2.1.3", " Channel", integer, kRO},
    {"devMib.2.8.2.1.4", " Signal (%)", integer, kRO},
    {"devMib.2.8.2.1.5", " BSSID", macaddress, kRO},
    {"devMib.2.8.2.1.6", " Security ", displaystr, kRO},
    {"devMib.2.8.2.1.7", " SSID", displaystr, kRO},
    {"devMib.2.8.2.1.9", " Support WDS", integer, kRO},
};
inline constexpr int kSurveySupportWds = 7;
inline constexpr int kSurveyBssidColumn = 4;

} // namespace tables::wireless
