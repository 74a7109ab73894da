#pragma once
// "Status \ Device Info": firmware, addresses, load and the state of radio instance 1.
#include "snmplib/varlist.h"

namespace tables::device_info {

inline constexpr QvOptionSource kSuperModeOptions[] = {
    {1, "Super G without Turbo"},
    {2, "Super G with Static Turbo"},
    {3, "Super G with Dynamic Turbo"},
    {4, "Disabled"},
};
inline constexpr QvOptionSource kGetIpFromOptions[] = {{1, "Manual"}, {2, "Dynamic"}};

// Radio instance 1 (MVT_SV: the OIDs carry their instance).
inline constexpr QvSNMPVarDef kRadio[] = {
    {"devMib.4.2.1.1.1", "stSSID", QvSyntax::displaystr, QvAccess::readonly},
    {"devMib.4.2.1.2.1", "stChannel", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.2.1.3.1", "stSuperMode", QvSyntax::integer, QvAccess::readonly, kSuperModeOptions},
    {"devMib.4.2.1.4.1", "stDataRate", QvSyntax::displaystr, QvAccess::readonly},
    {"devMib.4.2.1.5.1", "stSecLevelAuth", QvSyntax::displaystr, QvAccess::readonly},
    {"devMib.4.2.1.6.1", "stSecLevelPriv", QvSyntax::displaystr, QvAccess::readonly},
};
enum RadioVar { kSsid, kChannel, kSuperMode, kDataRate, kAuthentication, kPrivacy };

inline constexpr QvSNMPVarDef kDevice[] = {
    {"devMib.4.1.1.1", "Firmware Version", QvSyntax::displaystr, QvAccess::readonly},
    {"devMib.4.1.1.2", "MAC Address", QvSyntax::macaddress, QvAccess::readonly},
    {"devMib.4.1.1.3", "Get IP From", QvSyntax::integer, QvAccess::readonly, kGetIpFromOptions},
    {"devMib.4.1.1.4", "IP Address", QvSyntax::ipaddress, QvAccess::readonly},
    {"devMib.4.1.1.5", "Subnet Mask", QvSyntax::ipaddress, QvAccess::readonly},
    {"devMib.4.1.1.6", "Default Gateway", QvSyntax::ipaddress, QvAccess::readonly},
};
enum DeviceVar { kFirmware, kMac, kGetIpFrom, kIpAddress, kSubnetMask, kGateway };

inline constexpr QvSNMPVarDef kSupport[] = {
    {"devMib.99.1.1.43", "apStatusSupported", QvSyntax::integer, QvAccess::readonly},
};
enum SupportVar { kApStatusSupport };

inline constexpr QvSNMPVarDef kLoad[] = {
    {"devMib.4.1.2.1", "deviceInformationCpuUtilization", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.1.2.2", "deviceInformationMemUtilization", QvSyntax::integer, QvAccess::readonly},
};
enum LoadVar { kCpu, kMemory };

} // namespace tables::device_info
