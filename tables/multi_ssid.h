#pragma once
// Variables of the earlier multi-SSID page (TFM_MultiSSIDForm): the VLAN switch, the master SSID
// and three guest SSIDs as fixed rows of the SSID table of the 802.11g radio (instance .1, SSIDs
// 1 to 4), and the radio mode that multiple SSIDs require.
#include "tables/multi_ssid_new.h"

namespace tables::multi_ssid {

using enum QvSyntax::Code;
using wireless::kAuthentication;
using wireless::kDisableEnable;
using wireless::kGuestKeyIndex;
using wireless::kRW;

inline constexpr QvSNMPVarDef kVlanState[] = {
    {"devMib.2.9.1.1.1", "adVlanState", integer, kRW, kDisableEnable}};
enum VlanStateVar { kVlanStateValue };

inline constexpr QvSNMPVarDef kMaster[] = {
    {"devMib.2.9.2.1.3.1.1", "adMSSIDSSID", displaystr, kRW},
    {"devMib.2.9.2.1.4.1.1", "adMSSIDAuth", integer, kRW, kAuthentication},
    {"devMib.2.9.2.1.5.1.1", "adMSSIDEncryption", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.6.1.1", "adMSSIDKeyIndex", integer, kRW, kGuestKeyIndex},
    {"devMib.2.9.2.1.8.1.1", "adVlanTagID", integer, kRW},
};
enum MasterVar { kMasterSsid, kMasterAuth, kMasterEncryption, kMasterKeyIndex, kMasterVlanTag };

// Guest n is SSID n + 1 of the table.
inline constexpr QvSNMPVarDef kGuest1[] = {
    {"devMib.2.9.2.1.2.1.2", "adMSSIDState", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.3.1.2", "adMSSIDSSID", displaystr, kRW},
    {"devMib.2.9.2.1.4.1.2", "adMSSIDAuth", integer, kRW, kAuthentication},
    {"devMib.2.9.2.1.5.1.2", "adMSSIDEncryption", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.6.1.2", "adMSSIDKeyIndex", integer, kRW, kGuestKeyIndex},
    {"devMib.2.9.2.1.7.1.2", "adMSSIDKey", displaystr, kRW},
    {"devMib.2.9.2.1.8.1.2", "adVlanTagID", integer, kRW},
};
inline constexpr QvSNMPVarDef kGuest2[] = {
    {"devMib.2.9.2.1.2.1.3", "adMSSIDState", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.3.1.3", "adMSSIDSSID", displaystr, kRW},
    {"devMib.2.9.2.1.4.1.3", "adMSSIDAuth", integer, kRW, kAuthentication},
    {"devMib.2.9.2.1.5.1.3", "adMSSIDEncryption", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.6.1.3", "adMSSIDKeyIndex", integer, kRW, kGuestKeyIndex},
    {"devMib.2.9.2.1.7.1.3", "adMSSIDKey", displaystr, kRW},
    {"devMib.2.9.2.1.8.1.3", "adVlanTagID", integer, kRW},
};
inline constexpr QvSNMPVarDef kGuest3[] = {
    {"devMib.2.9.2.1.2.1.4", "adMSSIDState", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.3.1.4", "adMSSIDSSID", displaystr, kRW},
    {"devMib.2.9.2.1.4.1.4", "adMSSIDAuth", integer, kRW, kAuthentication},
    {"devMib.2.9.2.1.5.1.4", "adMSSIDEncryption", integer, kRW, kDisableEnable},
    {"devMib.2.9.2.1.6.1.4", "adMSSIDKeyIndex", integer, kRW, kGuestKeyIndex},
    {"devMib.2.9.2.1.7.1.4", "adMSSIDKey", displaystr, kRW},
    {"devMib.2.9.2.1.8.1.4", "adVlanTagID", integer, kRW},
};
enum GuestVar {
    kGuestState,
    kGuestSsid,
    kGuestAuth,
    kGuestEncryption,
    kGuestKeyIndexValue,
    kGuestKey,
    kGuestVlanTag
};

inline constexpr auto& kRadioMode = multi_ssid_new::kRadioMode;
using multi_ssid_new::RadioModeVar;

} // namespace tables::multi_ssid
