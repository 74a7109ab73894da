#pragma once
// "Advanced \ Mode": the operating mode of radio 1 and the eight remote access points the bridge
// modes connect with (entries 1-8 of the remote-AP table of radio 1).
#include "snmplib/varlist.h"

namespace tables::mode {

// The modes of devices without multiple SSIDs (the encryption page offers the same three).
inline constexpr QvOptionSource kApModes[] = {
    {1, "Access Point"}, {2, "PtP Bridge"}, {3, "PtMP Bridge"}};

inline constexpr QvSNMPVarDef kModeList[] = {
    {"devMib.2.1.1.1.1", "adAPMode", QvSyntax::integer, QvAccess::readwrite, kApModes},
    {"devMib.2.2.1.2.1.1", "adPtPRemoteAPMACAddress", QvSyntax::macaddress, QvAccess::readwrite},
    {"devMib.2.2.1.2.1.2", "adPtPRemoteAPMACAddress", QvSyntax::macaddress, QvAccess::readwrite},
    {"devMib.2.2.1.2.1.3", "adPtPRemoteAPMACAddress", QvSyntax::macaddress, QvAccess::readwrite},
    {"devMib.2.2.1.2.1.4", "adPtPRemoteAPMACAddress", QvSyntax::macaddress, QvAccess::readwrite},
    {"devMib.2.2.1.2.1.5", "adPtPRemoteAPMACAddress", QvSyntax::macaddress, QvAccess::readwrite},
    {"devMib.2.2.1.2.1.6", "adPtPRemoteAPMACAddress", QvSyntax::macaddress, QvAccess::readwrite},
    {"devMib.2.2.1.2.1.7", "adPtPRemoteAPMACAddress", QvSyntax::macaddress, QvAccess::readwrite},
    {"devMib.2.2.1.2.1.8", "adPtPRemoteAPMACAddress", QvSyntax::macaddress, QvAccess::readwrite},
};
enum ModeVar { kApMode, kRemoteMac1 };
inline constexpr int kRemoteMacs = 8;

} // namespace tables::mode
