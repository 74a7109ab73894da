#pragma once
// Variables of the system log viewer (TLogForm): the order to upload the log to the module's
// TFTP server (server address, file name, the order), and the order to clear the device's log.
#include "snmplib/varlist.h"

namespace tables::log_view {

inline constexpr QvOptionSource kGetOptions[] = {{0, "nothing"}, {1, "get"}};
inline constexpr QvOptionSource kClearOptions[] = {{0, "nothing"}, {1, "clear"}};

inline constexpr QvSNMPVarDef kGetLog[] = {
    {"devMib.2.11.4.0", "adTFTPServerIP", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.2.11.5.0", "adLogFileName", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.2.11.6.0", "adGetLog", QvSyntax::integer, QvAccess::readwrite, kGetOptions},
};
enum GetLogVar { kServerIp, kFileName, kGet };

inline constexpr QvSNMPVarDef kClearLog[] = {
    {"devMib.2.11.10", "adClearLocalLog", QvSyntax::integer, QvAccess::readwrite, kClearOptions},
};
enum ClearLogVar { kClear };

} // namespace tables::log_view
