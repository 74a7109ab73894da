#pragma once
// "Advanced \ WLAN Partition" (TFM_WPart): traffic between wireless stations and from the
// Ethernet side to the wireless side, for radio instance 1 (the last arc).
#include "snmplib/varlist.h"

namespace tables::wlan_partition {

inline constexpr QvOptionSource kDisableEnable[] = {{0, "Disable"}, {1, "Enable"}};

inline constexpr QvSNMPVarDef kPartition[] = {
    {"devMib.2.4.3.1.1.1", "adInternalStationConnection", QvSyntax::integer, QvAccess::readwrite,
     kDisableEnable},
    {"devMib.2.4.3.1.2.1", "adEthernet2WLANAccess", QvSyntax::integer, QvAccess::readwrite,
     kDisableEnable},
};
enum PartitionVar { kStationConnection, kEthernetToWlan };

} // namespace tables::wlan_partition
