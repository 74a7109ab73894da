#pragma once
// Variables of the LAN page (TFM_LanCfg). The DHCP pool and the static table it checks a new
// address against are those of the DHCP server page.
#include "tables/dhcp.h"

namespace tables::lan {

inline constexpr QvOptionSource kGetIpFromOptions[] = {{1, "Static (Manual)"},
                                                       {2, "Dynamic (DHCP)"}};
inline constexpr QvOptionSource kRestartOptions[] = {{0, "nothing"}, {1, "reboot"}};
inline constexpr QvOptionSource kPortTypeOptions[] = {
    {0, "Auto"},           {1, "100M FullDuplex"}, {2, "100M HalfDuplex"},
    {3, "10M FullDuplex"}, {4, "10M HalfDuplex"},
};

inline constexpr QvSNMPVarDef kLan[] = {
    {"devMib.1.2.1", "hGetIPFrom", QvSyntax::integer, QvAccess::readwrite, kGetIpFromOptions},
    {"devMib.1.2.2", "hIPAddress", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.1.2.3", "hSubnetMask", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.1.2.4", "hDefaultGateway", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.3.2.1", "sysRestart", QvSyntax::integer, QvAccess::readwrite, kRestartOptions},
};
enum LanVar { kGetIpFrom, kIpAddress, kSubnetMask, kDefaultGateway, kRestart };

inline constexpr auto& kDhcpPool = tables::dhcp::kDynamicPool;
inline constexpr auto& kStaticTable = tables::dhcp::kStaticPool;

inline constexpr QvSNMPVarDef kPortType[] = {
    {"devMib.1.2.5", "hLanIfEthPortType", QvSyntax::integer, QvAccess::readwrite, kPortTypeOptions},
};
enum PortTypeVar { kPortTypeValue };

} // namespace tables::lan
