#pragma once
// "Advanced \ Grouping": load balancing between the access points of a group, its user limit,
// link integrity, and the Ethernet link status.
#include "tables/wireless.h"

namespace tables::group {

using wireless::kApMode;
using wireless::kDisableEnable;

// The device's AP mode (radio 1): load balancing and link integrity need "Access Point".
inline constexpr QvSNMPVarDef kApModeList[] = {
    {"devMib.2.1.1.1.1", "adAPMode", QvSyntax::integer, QvAccess::readwrite, kApMode}};
enum ApModeVar { kApModeValue };

// Scalars (SVT_SV: at their OIDs with ".0").
inline constexpr QvSNMPVarDef kGrouping[] = {
    {"devMib.2.6.1", "LoadBalance", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devMib.2.6.2", "UserLimit(0-64)", QvSyntax::integer, QvAccess::readwrite},
    {"devMib.2.6.4", "LinkIntegrate", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
};
enum GroupingVar { kLoadBalance, kUserLimit, kLinkIntegrate };

inline constexpr QvSNMPVarDef kLinkStatus[] = {
    {"devMib.2.6.5", "EthernetLinkStatus", QvSyntax::displaystr, QvAccess::readonly}};
enum LinkStatusVar { kLinkStatusValue };

} // namespace tables::group
