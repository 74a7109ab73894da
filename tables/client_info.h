#pragma once
// "Status\Client Info" (TClientInformation): the AP mode (whether the WDS tab shows), the
// triggers that make the device build its client and WDS tables, and the two tables.
#include "snmplib/varlist.h"

namespace tables::client_info {

inline constexpr QvOptionSource kApModeOptions[] = {
    {1, "Access Point"}, {2, "PtP Bridge"},  {3, "PtMP Bridge"},  {4, "AP Repeater"},
    {5, "AP Client"},    {6, "PtP Without"}, {7, "P2MP Without"},
};
inline constexpr QvOptionSource kSuperModeOptions[] = {
    {1, "Super G without Turbo"},
    {2, "Super G with Static Turbo"},
    {3, "Super G with Dynamic Turbo"},
    {4, "Disable"},
};
inline constexpr QvSNMPVarDef kMode[] = {
    {"devMib.2.1.1.1.1", "adAPMode", QvSyntax::integer, QvAccess::readwrite, kApModeOptions},
    {"devMib.2.3.1.11.1", "adSuperMode", QvSyntax::integer, QvAccess::readwrite, kSuperModeOptions},
};
enum ModeVar { kApMode, kSuperMode };

inline constexpr QvOptionSource kGetClientOptions[] = {{0, "Nothing"}, {1, "acquire"}};
inline constexpr QvSNMPVarDef kClientTrigger[] = {
    {"devMib.4.5.1.1.1.1", "adGetClient", QvSyntax::integer, QvAccess::readwrite,
     kGetClientOptions},
};
enum ClientTriggerVar { kGetClient };

inline constexpr QvOptionSource kAuthenticationOptions[] = {
    {0, "Open System"},
    {1, "Shared Key"},
    {2, "WPA-Enterprise"},
    {3, "WPA-Personal"},
    {4, "Auto"},
    {5, "WPA2-Enterprise"},
    {6, "WPA2-Personal"},
    {7, "WPA-Auto-Enterprise"},
    {8, "WPA-Auto-Personal"},
};
// Devices that report the SSID of each client: the SSID column, and the authentication as a label.
inline constexpr QvSNMPVarDef kClientTableSsid[] = {
    {"devMib.4.5.2.1.1", "Index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.4.5.2.1.2", "Client MAC Address", QvSyntax::macaddress, QvAccess::readonly},
    {"devMib.4.5.2.1.3", "Band", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.5.2.1.4", "Authentication", QvSyntax::integer, QvAccess::readonly,
     kAuthenticationOptions},
    {"devMib.4.5.2.1.5", "Signal", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.5.2.1.6", "Power Saving Mode", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.5.2.1.7", "SSID", QvSyntax::displaystr, QvAccess::readonly},
};
// The others: six columns, the authentication as a number.
inline constexpr QvSNMPVarDef kClientTable[] = {
    {"devMib.4.5.2.1.1", "Index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.4.5.2.1.2", "Client MAC Address", QvSyntax::macaddress, QvAccess::readonly},
    {"devMib.4.5.2.1.3", "Band", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.5.2.1.4", "Authentication", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.5.2.1.5", "Signal", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.5.2.1.6", "Power Saving Mode", QvSyntax::integer, QvAccess::readonly},
};
enum ClientVar {
    kClientIndex,
    kClientMac,
    kClientBand,
    kClientAuth,
    kClientSignal,
    kClientPower,
    kClientSsid
};

inline constexpr QvOptionSource kWdsGetOptions[] = {{0, "nothing"}, {1, "get"}};
inline constexpr QvSNMPVarDef kWdsTrigger[] = {
    {"devMib.4.6.1.1.1.1", "wdsGet", QvSyntax::integer, QvAccess::readwrite, kWdsGetOptions},
};
enum WdsTriggerVar { kWdsGet };

inline constexpr QvOptionSource kWdsBandOptions[] = {{0, "A"}, {1, "B"}, {2, "G"}};
inline constexpr QvOptionSource kWdsAuthenticationOptions[] = {
    {0, "Open System"},
    {1, "Shared Key"},
    {2, "WPA-Enterprise"},
    {3, "WPA-Personal"},
    {4, "Open System / Shared Key"},
    {5, "WPA2-Enterprise"},
    {6, "WPA2-Personal"},
    {7, "WPA-Auto-Enterprise"},
    {8, "WPA-Auto-Personal"},
};
inline constexpr QvOptionSource kWdsChannelOptions[] = {{0, "Disable"}, {1, "Enable"}};
inline constexpr QvSNMPVarDef kWdsTable[] = {
    {"devMib.4.6.2.1.1", "Index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.4.6.2.1.2", "MAC", QvSyntax::macaddress, QvAccess::readonly},
    {"devMib.4.6.2.1.3", "Band", QvSyntax::integer, QvAccess::readonly, kWdsBandOptions},
    {"devMib.4.6.2.1.4", "Authentication", QvSyntax::integer, QvAccess::readonly,
     kWdsAuthenticationOptions},
    {"devMib.4.6.2.1.5", "Signal", QvSyntax::integer, QvAccess::readonly},
    {"devMib.4.6.2.1.6", "Channel", QvSyntax::integer, QvAccess::readonly, kWdsChannelOptions},
    {"devMib.4.6.2.1.7", "SSID", QvSyntax::displaystr, QvAccess::readonly},
};
enum WdsVar { kWdsIndex, kWdsMac, kWdsBand, kWdsAuth, kWdsSignal, kWdsChannel, kWdsSsid };

} // namespace tables::client_info
