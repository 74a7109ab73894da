#pragma once
// "Advanced \ Wireless MAC ACL" (TFM_WMACACL): whether the radio accepts or rejects the listed
// stations (or filters nothing), and the list itself in its fixed slots. Radio instance 1 is the
// last arc of the access control and the arc before the slot in the table.
#include "snmplib/varlist.h"

namespace tables::mac_acl {

inline constexpr QvOptionSource kAccessOptions[] = {{1, "Accept"}, {2, "Reject"}, {3, "Disable"}};

inline constexpr QvSNMPVarDef kAccessControl[] = {
    {"devMib.2.4.1.1.1", "adAccSettingWirelessAccessControl", QvSyntax::integer,
     QvAccess::readwrite, kAccessOptions},
};
enum AccessControlVar { kAccess };

// The slots: a free slot reads "000000000000".
inline constexpr QvSNMPVarDef kMacTable[] = {
    {"devMib.2.4.2.1.1.1", "adEthernetFilterMACIndex", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.2.4.2.1.2.1", "adEthernetFilterMACAddr", QvSyntax::macaddress, QvAccess::readwrite},
};
enum MacTableColumn { kSlotIndex, kSlotMac };

} // namespace tables::mac_acl
