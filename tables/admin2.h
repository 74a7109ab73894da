#pragma once
// Variables of the administrator page of firmware with management limits (Tools \ Administrator
// Settings): the login and console of the other pages, where management may come from (address
// ranges or two single addresses, the wireless LAN, a management VLAN), ping control and traps.
#include "tables/admin.h"
#include "tables/misc.h"

namespace tables::admin2 {

using tables::misc::kDisableEnable;
inline constexpr QvOptionSource kVidStatus[] = {{0, "disable"}, {1, "enable"}};

inline constexpr auto& kLogin = tables::admin::kLogin;
inline constexpr auto& kTelnet = tables::misc::kTelnet;
inline constexpr auto& kSsh = tables::misc::kSsh;

inline constexpr QvSNMPVarDef kMssidState[] = {
    {"devMib.2.9.3.1.1", "adMSSIDState", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
};
inline constexpr QvSNMPVarDef kVlanState[] = {
    {"devMib.2.9.1.1.1", "adVlanState", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
};
inline constexpr QvSNMPVarDef kWlanManagement[] = {
    {"devMib.3.1.6.2", "administrateApWithWlan", QvSyntax::integer, QvAccess::readwrite,
     kDisableEnable},
};
inline constexpr QvSNMPVarDef kManagementVlan[] = {
    {"devMib.3.1.8.1", "admManagerVLANIDStatus", QvSyntax::integer, QvAccess::readwrite,
     kVidStatus},
    {"devMib.3.1.8.2", "admManagerVLANID", QvSyntax::integer, QvAccess::readwrite},
};
enum ManagementVlanVar { kVidState, kVid };

inline constexpr QvSNMPVarDef kLimitState[] = {
    {"devMib.3.1.3", "admlimitIPStatus", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
};
// Two single manager addresses, for firmware without address ranges (kind MVT_SV).
inline constexpr QvSNMPVarDef kManagerAddresses[] = {
    {"devMib.3.1.4.1.2.1", "admManagerIP", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.3.1.4.1.2.2", "admManagerIP", QvSyntax::ipaddress, QvAccess::readwrite},
};
enum ManagerAddressVar { kManagerIp1, kManagerIp2 };

inline constexpr QvSNMPVarDef kTrapCapability[] = {
    {"devMib.99.1.1.44", "trapSupported", QvSyntax::integer, QvAccess::readonly},
};
inline constexpr QvSNMPVarDef kTraps[] = {
    {"devMib.3.1.7.1", "snmpTrapStatus", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devMib.3.1.7.2", "snmpTrapSystemLevel", QvSyntax::integer, QvAccess::readwrite,
     kDisableEnable},
    {"devMib.3.1.7.3", "snmpTrapWirelessLevel", QvSyntax::integer, QvAccess::readwrite,
     kDisableEnable},
};
enum TrapVar { kTrapStatus, kSystemTrap, kWirelessTrap };

inline constexpr QvSNMPVarDef kPingCapability[] = {
    {"devMib.99.1.1.42", "pingControlSupported", QvSyntax::integer, QvAccess::readonly},
};
inline constexpr QvSNMPVarDef kPing[] = {
    {"devMib.3.1.6.1", "pingcontrol", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
};

// Manager address ranges: a table of a fixed number of rows; a free row reads 0.0.0.0 to 0.0.0.0
// (kind MVT_UMV, one key).
inline constexpr QvSNMPVarDef kRanges[] = {
    {"", "ID", QvSyntax::integer, QvAccess::notaccess}, // the row number, from the walk
    {"devMib.3.1.9.1.2", "From", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.3.1.9.1.3", "To", QvSyntax::ipaddress, QvAccess::readwrite},
};
enum RangeVar { kRangeId, kRangeFrom, kRangeTo };

} // namespace tables::admin2
