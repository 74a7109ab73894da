#pragma once
// Variables of the DHCP server page (TFM_DHCP) and its static-entry dialog (TFM_StaticIP). The
// LAN page checks its address against the same pool and static table (tables/lan.h).
#include "snmplib/varlist.h"

namespace tables::dhcp {

inline constexpr QvOptionSource kOffOn[] = {{0, "OFF"}, {1, "ON"}};
inline constexpr QvOptionSource kFunctionOptions[] = {{0, "Disable"}, {1, "Enable"}};

// The dynamic pool: the server hands out `Dynamic Range` addresses from `Dynamic IP Start` on.
inline constexpr QvSNMPVarDef kDynamicPool[] = {
    {"devMib.2.7.2.1", "Dynamic IP Start", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.2.2", "Dynamic Range", QvSyntax::integer, QvAccess::readwrite},
    {"devMib.2.7.2.3", "Dynamic Mask", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.2.4", "Dynamic Gateway", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.2.5", "Dynamic Wins", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.2.6", "Dynamic Dns", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.2.7", "Dynamic Domain", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.2.7.2.8", "Dynamic Lease", QvSyntax::integer, QvAccess::readwrite},
    {"devMib.2.7.2.9", "Dynamic Status", QvSyntax::integer, QvAccess::readwrite, kOffOn},
};
enum DynamicPoolVar {
    kPoolStart,
    kPoolRange,
    kPoolMask,
    kPoolGateway,
    kPoolWins,
    kPoolDns,
    kPoolDomain,
    kPoolLease,
    kPoolStatus
};

inline constexpr QvSNMPVarDef kServerFunction[] = {
    {"devMib.2.7.1", "Dynamic IP Function", QvSyntax::integer, QvAccess::readwrite,
     kFunctionOptions},
};
enum ServerFunctionVar { kFunction };

// The static (MAC-bound) leases: a fixed number of slots; a free slot reads IP 0.0.0.0. WINS
// sits under arc 6 and DNS under arc 5, the reverse of the dynamic pool.
inline constexpr QvSNMPVarDef kStaticPool[] = {
    {"", "Index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.2.7.3.1.1", "IP", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.3.1.2", "MAC", QvSyntax::macaddress, QvAccess::readwrite},
    {"devMib.2.7.3.1.3", "Mask", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.3.1.4", "Gateway", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.3.1.6", "Wins", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.3.1.5", "DNS", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.7.3.1.7", "Domain", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.2.7.3.1.8", "Status", QvSyntax::integer, QvAccess::readwrite, kOffOn},
};
// Columns of the static pool (list-view columns in the same order).
enum StaticPoolColumn {
    kSlotIndex,
    kSlotIp,
    kSlotMac,
    kSlotMask,
    kSlotGateway,
    kSlotWins,
    kSlotDns,
    kSlotDomain,
    kSlotStatus
};

inline constexpr QvSNMPVarDef kDynamicLeases[] = {
    {"", "Index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.2.7.4.1.1.1", "Current Dynamic MAC", QvSyntax::macaddress, QvAccess::readonly},
    {"devMib.2.7.4.1.1.2", "Current Dynamic Assigned IP", QvSyntax::ipaddress, QvAccess::readonly},
    {"devMib.2.7.4.1.1.3", "Current Dynamic Lease", QvSyntax::integer, QvAccess::readonly},
};
// Columns of both lease lists (the static list has no lease time).
enum LeaseColumn { kLeaseIndex, kLeaseMac, kLeaseIp, kLeaseTime };

inline constexpr QvSNMPVarDef kStaticLeases[] = {
    {"", "Index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.2.7.4.2.1.1", "Current Static MAC", QvSyntax::macaddress, QvAccess::readonly},
    {"devMib.2.7.4.2.1.2", "Current Static Assigned IP", QvSyntax::ipaddress, QvAccess::readonly},
};

// The device's own LAN address, which no pool may cover.
inline constexpr QvSNMPVarDef kSystemAddress[] = {
    {"devMib.1.2.2", "hIPAddress", QvSyntax::ipaddress, QvAccess::readwrite},
};
enum SystemAddressVar { kSystemIp };

} // namespace tables::dhcp
