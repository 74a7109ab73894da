#pragma once
// Variables of the multi-SSID and VLAN page of current firmware (TFM_MultiSSIDNewForm): the
// switches for multiple SSIDs, VLAN tagging, SSID priority and the management VLAN, the radio
// mode it warns about, the device-wide group key, RADIUS and accounting settings, and the SSID
// table of the 802.11g radio (row 1 the primary SSID, rows 2 to 8 the additional ones).
#include "tables/wireless.h"

namespace tables::multi_ssid_new {

using enum QvSyntax::Code;
using wireless::kApMode;
using wireless::kAuthentication;
using wireless::kCipher;
using wireless::kDisableEnable;
using wireless::kRO;
using wireless::kRW;
using wireless::kSuperModeRogue0;
using wireless::kValidKey;

inline constexpr QvOptionSource kDyVlan[] = {{1, "Manual"}, {2, "Dynamic"}};

inline constexpr QvSNMPVarDef kManagerVlan[] = {
    {"devMib.3.1.8.1", "admManagerVLANIDStatus", integer, kRW, kDisableEnable}};
enum ManagerVlanVar { kManagerVlanStatus };

inline constexpr QvSNMPVarDef kPriorityState[] = {
    {"devMib.2.9.4.1.1.1", "adMSSIDPriorityState", integer, kRW, kDisableEnable}};
enum PriorityStateVar { kPriorityStateValue };

// Read only by this page: the warnings on enabling name what the device will change.
inline constexpr QvSNMPVarDef kRadioMode[] = {
    {"devMib.2.1.1.1.1", "adAPMode", integer, kRW, kApMode},
    {"devMib.2.3.1.11.1", "adSuperMode", integer, kRW, kSuperModeRogue0},
};
enum RadioModeVar { kApModeValue, kSuperModeValue };

// The same object the wireless page sets.
inline constexpr const auto& kMultiSsidState = wireless::kMultiState;
inline constexpr QvSNMPVarDef kVlanState[] = {
    {"devMib.2.9.1.1.1", "adVlanState", integer, kRW, kDisableEnable}};
enum StateVar { kStateValue };

// The group key interval of radio 1, the instance the wireless and encryption pages use.
inline constexpr QvSNMPVarDef kGroupKey[] = {
    {"devMib.2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", integer, kRW}};
enum GroupKeyVar { kGroupKeyValue };

inline constexpr QvSNMPVarDef kRadius[] = {
    {"devMib.2.5.2.3", "adSecRADIUSServer", displaystr, kRW},
    {"devMib.2.5.2.4", "adSecRADIUSPort", integer, kRW},
    {"devMib.2.5.2.5", "adSecRADIUSSecret", displaystr, kRW},
};
enum RadiusVar { kRadiusServer, kRadiusPort, kRadiusSecret };

inline constexpr QvSNMPVarDef kAccountServer[] = {
    {"devMib.2.5.1.1.9.1", "adSecAccountServer", displaystr, kRO},
    {"devMib.2.5.1.1.10.1", "adSecAccountPort", integer, kRO},
};
enum AccountVar { kAccountServerValue, kAccountPortValue };

// The SSID table, keyed by interface and SSID index. The first fifteen columns are the table of
// devices without dynamic VLAN and SSID priority; the last three follow when the device has
// either.
inline constexpr QvSNMPVarDef kSsidColumns[] = {
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
    {"devMib.2.9.2.1.13", "adMSSIDKeyType", integer, kRW, wireless::kKeyType},
    {"devMib.2.9.2.1.15", "adMSSIDIdvAccountMode", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.14", "adMSSIDSuppress", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.18", "adMSSIDWmm", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.19", "adMSSIDdyVlanState", integer, kRW, kDyVlan},
    {"devMib.2.9.2.1.20", "adMSSIDEthernetWithoutTag", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.21", "adMSSIDPriority", integer, kRW},
};
enum SsidColumn {
    kIfIndex,
    kSsidIndex,
    kSsid,
    kIdvState,
    kAuth,
    kEncryption,
    kKeyIndex,
    kKey,
    kVlanTag,
    kCipherType,
    kPassPhrase,
    kKeyType,
    kAccountMode,
    kSuppress,
    kWmm,
    kDyVlanState,
    kEthernetWithoutTag,
    kPriority,
    kSsidColumnCount
};
inline constexpr std::span<const QvSNMPVarDef> kSsidTable18{kSsidColumns};
inline constexpr std::span<const QvSNMPVarDef> kSsidTable15 = kSsidTable18.first(kDyVlanState);
inline constexpr int kSsidKeys = 2;

} // namespace tables::multi_ssid_new
