#pragma once
// Variables of the firmware page, shared by every page that moves a file over the module's TFTP
// server: the server address and file name the device is given, the TFTP command and the
// upgrade command.
#include "snmplib/varlist.h"
#include "tables/main_window.h"

namespace tables::firmware {

inline constexpr QvOptionSource kTftpCommandOptions[] = {
    {1, "Connect"}, {2, "Get"}, {3, "Put"}, {4, "Nothing"}};

// Address list: Ed_TfpSrv (index 0) and Ed_UpgFile (index 1).
inline constexpr QvSNMPVarDef kAddress[] = {
    {"devMib.3.3.1", "remotesrvip", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.3.3.2", "remotefilename", QvSyntax::displaystr, QvAccess::readwrite},
};
enum AddressVar { kServerAddress, kFileName };

// Command list: CB_TfpCom.
inline constexpr QvSNMPVarDef kTftpCommand[] = {
    {"devMib.3.3.4", "tftpcommand", QvSyntax::integer, QvAccess::readwrite, kTftpCommandOptions},
};
enum TftpCommandVar { kTftp };

// Upgrade list: CB_UpgCom (the same object and options as the wait dialog's restart command).
inline constexpr QvSNMPVarDef kUpgradeCommand[] = {
    {"devMib.3.3.5", "upgradesettingcommand", QvSyntax::integer, QvAccess::readwrite,
     main_window::kUpgradeCommandOptions},
};
enum UpgradeCommandVar { kUpgrade };

} // namespace tables::firmware
