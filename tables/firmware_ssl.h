#pragma once
// Variables of the firmware-and-certificate page: the firmware lists of the firmware page plus
// the FTP account, the running firmware version, the certificate update and the restart.
#include "snmplib/varlist.h"
#include "tables/firmware.h"

namespace tables::firmware_ssl {

using firmware::kAddress;
using firmware::kTftpCommand;
using firmware::kUpgradeCommand;

// FTP list: Ed_FtpSrv, Ed_UserName, Ed_Password.
inline constexpr QvSNMPVarDef kFtp[] = {
    {"devMib.3.3.6.1", "uFTPSrvIP", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.3.3.6.2", "uFTPUserName", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.3.3.6.3", "uFTPPassword", QvSyntax::displaystr, QvAccess::readwrite},
};
enum FtpVar { kFtpServer, kFtpUser, kFtpPassword };

// Version list: Ed_FwVersion, the first object of the device information group.
inline constexpr QvSNMPVarDef kVersion[] = {
    {"devMib.4.1.1.1", "Firmware Version", QvSyntax::displaystr, QvAccess::readonly},
};
enum VersionVar { kFirmwareVersion };

inline constexpr QvOptionSource kCertUpdateOptions[] = {{1, "sslcertupdate"}, {2, "nothing"}};
// Certificate list: EDT_Certificate, EDT_Key, CB_SslUpdt.
inline constexpr QvSNMPVarDef kCertificate[] = {
    {"devMib.3.3.6.4.1", "uSSLCertFileName", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.3.3.6.4.2", "uSSLKeyFileName", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.3.3.6.4.3", "uSSLCertUpdate", QvSyntax::integer, QvAccess::readwrite,
     kCertUpdateOptions},
};
enum CertificateVar { kCertificateFile, kKeyFile, kSslCommand };

inline constexpr QvOptionSource kTrueFalse[] = {{1, "True"}, {2, "False"}};
// Restart list: CB_Reboot. "FactoryDefault" is part of the group but never written.
inline constexpr QvSNMPVarDef kRestart[] = {
    {"devMib.3.2.1", "Restart", QvSyntax::integer, QvAccess::readwrite, kTrueFalse},
    {"devMib.3.2.2", "FactoryDefault", QvSyntax::integer, QvAccess::invalid, kTrueFalse},
};
enum RestartVar { kRestartAfterUpdate, kFactoryDefault };

} // namespace tables::firmware_ssl
