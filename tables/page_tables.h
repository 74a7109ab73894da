#pragma once
// What each page reads: its descriptor tables with the list kind (and key count) it reads them
// as, by page class. Tables a page reads only on some devices are all listed: a reader that asks
// a device for them learns from its answer which it has. kw9100-settings reads a device's pages
// through this list; the menus (app/menu_items.h) say which pages a device has.
#include "tables/admin.h"
#include "tables/admin2.h"
#include "tables/client_info.h"
#include "tables/config_file.h"
#include "tables/device_info.h"
#include "tables/dhcp.h"
#include "tables/encrypt.h"
#include "tables/ethernet.h"
#include "tables/firmware.h"
#include "tables/firmware_ssl.h"
#include "tables/group.h"
#include "tables/information.h"
#include "tables/lan.h"
#include "tables/log_settings.h"
#include "tables/log_view.h"
#include "tables/mac_acl.h"
#include "tables/misc.h"
#include "tables/mode.h"
#include "tables/multi_ssid.h"
#include "tables/multi_ssid_new.h"
#include "tables/performance.h"
#include "tables/rogue_ap.h"
#include "tables/sntp.h"
#include "tables/statistics.h"
#include "tables/system.h"
#include "tables/wireless.h"
#include "tables/wlan_partition.h"

#include <span>
#include <string_view>

namespace tables::page_tables {

struct PageTable {
    std::span<const QvSNMPVarDef> vars;
    quint8 kind = SVT_SV; // QvListKind
    int keys = 0;         // key columns of a table list
};

struct PageReads {
    const char* page; // class name, as in app/menu_items.h
    std::span<const PageTable> tables;
};

inline constexpr PageTable kInformation[] = {{information::kSystemGroup}};

inline constexpr PageTable kWireless[] = {
    {wireless::kRadio, MVT_SV},
    {wireless::kBgModeList},
    {wireless::kSuperG0},
    {wireless::kSuperG1},
    {wireless::kDynamicChannels},
    {wireless::kStaticChannels},
    {wireless::kRadioOnOff, MVT_SV},
    {wireless::kMultiOverWds, MVT_SV},
    {wireless::kAutoChannelScan, MVT_SV},
    {wireless::kPrimarySecurity, MVT_SV},
    {wireless::kKeyTypeList},
    {wireless::kMultiState},
    {wireless::kGuestState, MVT_SV},
    {wireless::kGuestKeyIndexList, MVT_SV},
    {wireless::kPrimaryRadius, MVT_SV},
    {wireless::kRadiusBackupSupport},
    {wireless::kAccountBackupSupport},
    {wireless::kSecondaryRadius},
    {wireless::kSecondaryAccounting, MVT_SV},
    {wireless::kAccounting, MVT_SV},
    {wireless::kPassPhrase, MVT_SV},
    {wireless::kMultiSecurity, MVT_SV},
    {wireless::kApModeList, MVT_SV},
    {wireless::kSurveyTriggerList},
    {wireless::kSsidTable, MVT_UMV, 2},
    {wireless::kSurveyTable, MVT_UMV, 1},
};

inline constexpr PageTable kLan[] = {
    {lan::kLan},
    {lan::kDhcpPool},
    {lan::kPortType},
    {lan::kStaticTable, MVT_UMV, 1},
};

inline constexpr PageTable kMode[] = {{mode::kModeList, MVT_SV}};

inline constexpr PageTable kPerformance[] = {
    {performance::kApModeList, MVT_SV},
    {performance::kMultiState},
    {performance::kAutoChannelScan, MVT_SV},
    {performance::kSuperG0},
    {performance::kSuperG1},
    {performance::kRadio, MVT_SV},
    {performance::kPriority, MVT_SV},
    {performance::kGOnly, MVT_SV},
    {performance::kXr, MVT_SV},
    {performance::kWmm},
    {performance::kPreambleList},
    {performance::kBgModeList},
    {performance::kAntennaList},
    {performance::kDataRateSupport},
    {performance::kDataRateControl, MVT_SV},
    {performance::kSnooping, MVT_SV},
    {performance::kRateTable, MVT_UMV, 1},
};

inline constexpr PageTable kMacAcl[] = {
    {mac_acl::kAccessControl},
    {mac_acl::kMacTable, MVT_UMV, 1},
};

inline constexpr PageTable kWlanPartition[] = {{wlan_partition::kPartition, MVT_SV}};

inline constexpr PageTable kEncrypt[] = {
    {encrypt::kSecurity, MVT_SV},       {encrypt::kApModeList, MVT_SV},  {encrypt::kCodeBase},
    {encrypt::kSecurityServer, MVT_SV}, {encrypt::kPassPhraseA, MVT_SV},
};

inline constexpr PageTable kGroup[] = {
    {group::kApModeList, MVT_SV},
    {group::kGrouping},
    {group::kLinkStatus},
};

inline constexpr PageTable kDhcp[] = {
    {dhcp::kDynamicPool},
    {dhcp::kServerFunction},
    {dhcp::kSystemAddress},
    {dhcp::kStaticPool, MVT_UMV, 1},
    {dhcp::kDynamicLeases, MVT_FMV, 1},
    {dhcp::kStaticLeases, MVT_FMV, 1},
};

inline constexpr PageTable kMultiSsidNew[] = {
    {multi_ssid_new::kManagerVlan},
    {multi_ssid_new::kPriorityState, MVT_SV},
    {multi_ssid_new::kRadioMode, MVT_SV},
    {multi_ssid_new::kMultiSsidState},
    {multi_ssid_new::kVlanState},
    {multi_ssid_new::kGroupKey, MVT_SV},
    {multi_ssid_new::kRadius},
    {multi_ssid_new::kAccountServer, MVT_SV},
    {multi_ssid_new::kSsidTable18, MVT_UMV, multi_ssid_new::kSsidKeys},
};

inline constexpr PageTable kMultiSsid[] = {
    {multi_ssid::kVlanState},      {multi_ssid::kMaster, MVT_SV}, {multi_ssid::kGuest1, MVT_SV},
    {multi_ssid::kGuest2, MVT_SV}, {multi_ssid::kGuest3, MVT_SV}, {multi_ssid::kRadioMode, MVT_SV},
};

inline constexpr PageTable kRogueAp[] = {
    {rogue_ap::kRadio, MVT_SV},
    {rogue_ap::kFilter, MVT_SV},
    {rogue_ap::kDetect},
    {rogue_ap::kAdd},
    {rogue_ap::kDeleteRogue},
    {rogue_ap::kDeleteAccepted},
    {rogue_ap::kSupport},
    {rogue_ap::kProtection},
    {rogue_ap::kRogueTable, MVT_UMV, 1},
    {rogue_ap::kApTable, MVT_UMV, 1},
};

inline constexpr PageTable kAdmin[] = {{admin::kLogin}};

inline constexpr PageTable kAdmin2[] = {
    {admin2::kMssidState},
    {admin2::kVlanState},
    {admin2::kWlanManagement},
    {admin2::kManagementVlan},
    {admin2::kLimitState},
    {admin2::kTelnet},
    {misc::kSsh},
    {admin2::kLogin},
    {admin2::kManagerAddresses, MVT_SV},
    {admin2::kTrapCapability},
    {admin2::kTraps},
    {admin2::kPingCapability},
    {admin2::kPing},
    {admin2::kRanges, MVT_UMV, 1},
};

inline constexpr PageTable kSystem[] = {{system::kSystem}};

inline constexpr PageTable kFirmware[] = {
    {firmware::kAddress},
    {firmware::kTftpCommand},
    {firmware::kUpgradeCommand},
};

inline constexpr PageTable kFirmwareSsl[] = {
    {firmware_ssl::kFtp},
    {firmware_ssl::kVersion},
    {firmware_ssl::kCertificate},
    {firmware_ssl::kRestart},
};

inline constexpr PageTable kConfigFile[] = {
    {config_file::kAddress},
    {config_file::kUpgradeCommand},
    {config_file::kTftpCommand},
};

inline constexpr PageTable kMisc[] = {{misc::kTelnet}, {misc::kSsh}};

inline constexpr PageTable kSntp[] = {{sntp::kTime}, {sntp::kZoneList}};

inline constexpr PageTable kDeviceInfo[] = {
    {device_info::kRadio, MVT_SV},
    {device_info::kDevice},
    {device_info::kSupport},
    {device_info::kLoad},
};

inline constexpr PageTable kEthernet[] = {{ethernet::kCounters}};

inline constexpr PageTable kStatistics[] = {{statistics::kCounters, MVT_SV}};

inline constexpr PageTable kClientInfo[] = {
    {client_info::kMode, MVT_SV},
    {client_info::kClientTrigger, MVT_SV},
    {client_info::kWdsTrigger, MVT_SV},
    // The SSID variant's columns are the others' and one more.
    {client_info::kClientTableSsid, MVT_UMV, 1},
    {client_info::kWdsTable, MVT_UMV, 1},
};

inline constexpr PageTable kLogView[] = {{log_view::kGetLog, MVT_SV}, {log_view::kClearLog}};

inline constexpr PageTable kLogSettings[] = {
    {log_settings::kLog, MVT_SV},
    {log_settings::kSmtp},
};

inline constexpr PageReads kPages[] = {
    {"Information", kInformation},
    {"TFM_Wirless", kWireless},
    {"TFM_LanCfg", kLan},
    {"TFM_ModeCFG", kMode},
    {"TFM_Performace", kPerformance},
    {"TFM_WMACACL", kMacAcl},
    {"TFM_WPart", kWlanPartition},
    {"TFM_Encrypt", kEncrypt},
    {"TFM_Group", kGroup},
    {"TFM_DHCP", kDhcp},
    {"TFM_MultiSSIDNewForm", kMultiSsidNew},
    {"TFM_MultiSSIDForm", kMultiSsid},
    {"TFM_RogueForm", kRogueAp},
    {"TFM_Admin", kAdmin},
    {"TFM_Admin2", kAdmin2},
    {"TFM_Sytem", kSystem},
    {"TFM_Firmware", kFirmware},
    {"TFM_FirewareSSL", kFirmwareSsl},
    {"TFM_CfgFile", kConfigFile},
    {"TFM_Misc", kMisc},
    {"TSNTPForm", kSntp},
    {"TFM_DevInfo", kDeviceInfo},
    {"TFM_Ethernet", kEthernet},
    {"TFM_Static", kStatistics},
    {"TClientInformation", kClientInfo},
    {"TLogForm", kLogView},
    {"TFM_LogSet", kLogSettings},
};

// The reads of a page class; empty for a class not in the list.
constexpr std::span<const PageTable> readsOf(std::string_view page) {
    for (const PageReads& reads : kPages)
        if (page == reads.page)
            return reads.tables;
    return {};
}

} // namespace tables::page_tables
