#pragma once
// Variables of the main window's requests: the front-panel poll, the capability flags, the
// save-and-activate pair, the client-info flag of the Status menu and the restart command of the
// wait dialog.
#include "snmplib/varlist.h"

#include <span>
#include <string_view>

namespace tables::main_window {

// Front-panel poll: the cheapest object every firmware answers.
inline constexpr QvSNMPVarDef kPoll[] = {
    {"1.3.6.1.2.1.1.1", "sysDescr", QvSyntax::displaystr, QvAccess::readonly},
};

// Every variable a capability request reads, in probe order. The requests below take slices.
inline constexpr QvSNMPVarDef kCapabilityVars[] = {
    {"devMib.4.1.1.1", "stFirmwareVersion", QvSyntax::displaystr, QvAccess::readonly}, // 0
    {"devMib.99.1.1.6", "countrycode", QvSyntax::displaystr, QvAccess::readonly},
    {"devMib.99.1.1.2", "turbomodes", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.1", "apmodes", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.9", "mssidsupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.10", "rogueapsupported", QvSyntax::integer, QvAccess::readonly}, // 5
    // The device's own address settings: one request, the address and mask shown.
    {"devMib.1.2.1", "hGetIPFrom", QvSyntax::integer, QvAccess::readwrite},
    {"devMib.1.2.2", "hIPAddress", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.1.2.3", "hSubnetMask", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.1.2.4", "hDefaultGateway", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.3.2.1", "sysRestart", QvSyntax::integer, QvAccess::readwrite}, // 10
    {"devMib.99.1.1.13", "mssidisolatedsecurity", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.11", "syslogsupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.14", "mssidindication", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.15", "keytypeselection", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.24", "wdssitesurvey", QvSyntax::integer, QvAccess::readonly}, // 15
    {"devMib.99.1.1.26", "accounting", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.25", "sntp", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.32", "sMTPSupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.20", "mSSIDSuppress", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.31", "mSSIDWmmSupported", QvSyntax::integer, QvAccess::readonly}, // 20
    {"devMib.99.1.1.34", "groupingsupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.35", "wdsclientinfonotsupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.37", "sslsupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.36", "packetStatisticnotsupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.47", "ethernetpacketSupported", QvSyntax::integer, QvAccess::readonly}, // 25
    {"devMib.99.1.1.39", "ethernetLinkNotSupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.54", "dynamicVlanSupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.49", "mssidAndWdssupport", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.53", "wmmOverWDSSupported", QvSyntax::integer, QvAccess::readonly},
    {"devMib.99.1.1.56", "prioritybySSIDSupported", QvSyntax::integer, QvAccess::readonly}, // 30
    {"devMib.99.1.1.55", "ipRangeSupported", QvSyntax::integer, QvAccess::readonly},
};

// When a capability request reads its device object.
enum class FlagRead {
    AsyncPeriodic, // at start-up and on every capability refresh, answers filled in on arrival
    AsyncOnce,     // at start-up only, answers filled in on arrival
    SyncOnce,      // at start-up only, waited for
};

// A variable of a request shown in one hidden edit of the main window.
struct FlagEdit {
    int var;             // index in the request's list
    const char* control; // objectName of the edit
};

struct CapabilityRequest {
    int first; // slice of kCapabilityVars
    int count;
    FlagEdit edits[2]; // the second unused (null control) for one-variable requests
    const char* format;
    FlagRead read;

    std::span<const QvSNMPVarDef> vars() const {
        return std::span(kCapabilityVars)
            .subspan(static_cast<size_t>(first), static_cast<size_t>(count));
    }
};

using enum FlagRead;
// Probe order. "accounting" fills Ed_spSNTP and "sntp" fills Ed_spAccounting; Ed_ManagerIP
// carries the grouping variable like Ed_Grouping, through a request of its own.
inline constexpr CapabilityRequest kCapabilityRequests[] = {
    {0, 1, {{0, "Ed_FwVer"}, {}}, "%s", AsyncPeriodic},
    {1, 1, {{0, "Ed_Countrycode"}, {}}, "%s", AsyncPeriodic},
    {2, 1, {{0, "ED_Turbomode"}, {}}, "%s", AsyncPeriodic},
    {3, 1, {{0, "APModeSupport"}, {}}, "%u", AsyncPeriodic},
    {4, 1, {{0, "ifMultiSSID_Edit"}, {}}, "%u", AsyncPeriodic},
    {5, 1, {{0, "Ed_Rogue"}, {}}, "%s", AsyncPeriodic},
    {6, 5, {{1, "IPAddressEdit"}, {2, "SubMaskEdit"}}, "%s", AsyncPeriodic},
    {11, 1, {{0, "NewMultiSupport"}, {}}, "%s", AsyncPeriodic},
    {12, 1, {{0, "SyslogSupport"}, {}}, "%s", AsyncPeriodic},
    {13, 1, {{0, "Ed_ClientAddSSID"}, {}}, "%s", AsyncPeriodic},
    {14, 1, {{0, "Ed_KeyTypeSup"}, {}}, "%s", AsyncPeriodic},
    {15, 1, {{0, "Ed_spWDSSite"}, {}}, "%s", AsyncPeriodic},
    {16, 1, {{0, "Ed_spSNTP"}, {}}, "%s", AsyncPeriodic},
    {17, 1, {{0, "Ed_spAccounting"}, {}}, "%s", AsyncPeriodic},
    {18, 1, {{0, "Ed_SpSmtp"}, {}}, "%s", AsyncOnce},
    {19, 1, {{0, "Ed_Suppress"}, {}}, "%s", AsyncOnce},
    {20, 1, {{0, "Ed_WMM"}, {}}, "%s", AsyncOnce},
    {21, 1, {{0, "Ed_Grouping"}, {}}, "%s", AsyncOnce},
    {21, 1, {{0, "Ed_ManagerIP"}, {}}, "%s", AsyncOnce},
    // The save-and-activate request is probed here (kSaveRequestPosition).
    {22, 1, {{0, "Ed_WDSInfoNotSupport"}, {}}, "%s", SyncOnce},
    {23, 1, {{0, "Ed_SSLSupport"}, {}}, "%s", SyncOnce},
    {24, 1, {{0, "Ed_PacketStatNotSupport"}, {}}, "%s", SyncOnce},
    {25, 1, {{0, "Ed_Ethernet"}, {}}, "%s", SyncOnce},
    {26, 1, {{0, "Ed_LinkStatusNotSupport"}, {}}, "%s", SyncOnce},
    {27, 1, {{0, "Ed_DyvlanSupport"}, {}}, "%s", SyncOnce},
    {28, 1, {{0, "Ed_MssidAndWdssupport"}, {}}, "%s", SyncOnce},
    {29, 1, {{0, "Ed_wmmOverWDSSupported"}, {}}, "%s", SyncOnce},
    {30, 1, {{0, "Ed_prioritybySSIDSupported"}, {}}, "%s", SyncOnce},
    {31, 1, {{0, "Ed_ipRangeSupported"}, {}}, "%s", SyncOnce},
};

// Index in kCapabilityRequests before which the save-and-activate request is probed.
inline constexpr int kSaveRequestPosition = 19;
static_assert(std::string_view(kCapabilityRequests[kSaveRequestPosition - 1].edits[0].control) ==
              "Ed_ManagerIP");

// The periodic requests lead the probe order.
inline constexpr int kPeriodicRequestCount = 14;
static_assert(kCapabilityRequests[kPeriodicRequestCount - 1].read == AsyncPeriodic &&
              kCapabilityRequests[kPeriodicRequestCount].read != AsyncPeriodic);

// The flags the capability refresh empties on its eighth tick.
inline constexpr const char* kEmptiedFlags[] = {
    "Ed_FwVer",         "Ed_Countrycode", "ED_Turbomode",     "APModeSupport",
    "ifMultiSSID_Edit", "Ed_Rogue",       "IPAddressEdit",    "SubMaskEdit",
    "NewMultiSupport",  "SyslogSupport",  "Ed_ClientAddSSID", "Ed_KeyTypeSup",
};

// Status menu: asked each time the menu opens.
inline constexpr QvSNMPVarDef kClientInfoSupported[] = {
    {"devMib.99.1.1.7", "clientinfosupported", QvSyntax::integer, QvAccess::readonly},
};
inline constexpr const char* kClientInfoControl = "Ifclientinfosupported";

// Save and activate, discard changes.
inline constexpr QvOptionSource kSaveActivateOptions[] = {{0, "Nothing"}, {1, "Activate"}};
inline constexpr QvOptionSource kDiscardOptions[] = {{0, "Nothing"}, {1, "Discard"}};
inline constexpr QvSNMPVarDef kSaveActivate[] = {
    {"devMib.5.1", "cSaveActivate", QvSyntax::integer, QvAccess::readwrite, kSaveActivateOptions},
    {"devMib.5.2", "cDiscardChanges", QvSyntax::integer, QvAccess::readwrite, kDiscardOptions},
};

// The wait dialog's restart command.
inline constexpr QvOptionSource kUpgradeCommandOptions[] = {
    {1, "Firmwareupdate"}, {2, "Configsetting"}, {3, "Configsave"},
    {4, "Reboot"},         {5, "Factoryreset"},  {6, "Nothing"},
};
inline constexpr QvSNMPVarDef kRestartCommand[] = {
    {"devMib.3.3.5", "upgradesettingcommand", QvSyntax::integer, QvAccess::readwrite,
     kUpgradeCommandOptions},
};

} // namespace tables::main_window
