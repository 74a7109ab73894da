#pragma once
// Variables of the miscellaneous page (Tools \ Misc.): the console protocols and the console's
// idle time-out. The administrator page writes the same objects.
#include "snmplib/varlist.h"

namespace tables::misc {

inline constexpr QvOptionSource kDisableEnable[] = {{0, "Disable"}, {1, "Enable"}};
inline constexpr QvOptionSource kTimeoutOptions[] = {{0, "Never"},  {1, "1 Min"},   {2, "3 Mins"},
                                                     {3, "5 Mins"}, {4, "10 Mins"}, {5, "15 Mins"}};

inline constexpr QvSNMPVarDef kTelnet[] = {
    {"devMib.3.4.1", "telnet", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devMib.3.4.2", "timeout", QvSyntax::integer, QvAccess::readwrite, kTimeoutOptions},
};
enum TelnetVar { kTelnetState, kTimeout };

inline constexpr QvSNMPVarDef kSsh[] = {
    {"devMib.3.4.3", "ssh", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
};
enum SshVar { kSshState };

} // namespace tables::misc
