#pragma once
// "Status \  Log Setting" (TFM_LogSet): which kinds of events the device logs, the remote log
// server, and on devices with e-mail notification the SMTP server, sender and recipient.
#include "snmplib/varlist.h"

namespace tables::log_settings {

inline constexpr QvOptionSource kDisableEnable[] = {{0, "Disable"}, {1, "Enable"}};
// The SMTP state counts from 1.
inline constexpr QvOptionSource kSmtpState[] = {{1, "Disable"}, {2, "Enable"}};

inline constexpr QvSNMPVarDef kLog[] = {
    {"devMib.2.11.1.0", "adSystemLevel", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devMib.2.11.2.0", "adWirelessLevel", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devMib.2.11.3.0", "adNoticeLevel", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devMib.2.11.8.0", "adRemoteLogState", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devMib.2.11.9.0", "adLogServerIP", QvSyntax::ipaddress, QvAccess::readwrite},
};
enum LogVar { kSystemLevel, kWirelessLevel, kNoticeLevel, kRemoteLogState, kLogServer };

inline constexpr QvSNMPVarDef kSmtp[] = {
    {"devMib.2.12.1", "smtpState", QvSyntax::integer, QvAccess::readwrite, kSmtpState},
    {"devMib.2.12.2", "smtpServerIP", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.2.12.3", "smtpSender", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.2.12.4", "smtpRecipient", QvSyntax::displaystr, QvAccess::readwrite},
};
enum SmtpVar { kSmtpStateVar, kSmtpServer, kSmtpSender, kSmtpRecipient };

} // namespace tables::log_settings
