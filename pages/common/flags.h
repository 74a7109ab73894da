#pragma once
// The main window's capability flags as pages read them. A flag is named by one of the constants
// below, never by a string, so a misspelt name does not compile (a misspelt string would quietly
// read as 0, "the device lacks it"); tests check each constant against the main window's flags.
#include <QString>

namespace pages {

class Flag {
public:
    constexpr explicit Flag(const char* name) : name_(name) {}
    constexpr const char* name() const { return name_; }

private:
    const char* name_;
};

namespace flags {
// The spelling is the hidden edit's objectName, as the device generations named them.
inline constexpr Flag Ed_FwVer{"Ed_FwVer"};
inline constexpr Flag Ed_Countrycode{"Ed_Countrycode"};
inline constexpr Flag ED_Turbomode{"ED_Turbomode"};
inline constexpr Flag APModeSupport{"APModeSupport"};
inline constexpr Flag ifMultiSSID_Edit{"ifMultiSSID_Edit"};
inline constexpr Flag Ed_Rogue{"Ed_Rogue"};
inline constexpr Flag IPAddressEdit{"IPAddressEdit"};
inline constexpr Flag SubMaskEdit{"SubMaskEdit"};
inline constexpr Flag NewMultiSupport{"NewMultiSupport"};
inline constexpr Flag SyslogSupport{"SyslogSupport"};
inline constexpr Flag Ed_ClientAddSSID{"Ed_ClientAddSSID"};
inline constexpr Flag Ed_KeyTypeSup{"Ed_KeyTypeSup"};
inline constexpr Flag Ed_spWDSSite{"Ed_spWDSSite"};
inline constexpr Flag Ed_spSNTP{"Ed_spSNTP"};
inline constexpr Flag Ed_spAccounting{"Ed_spAccounting"};
inline constexpr Flag Ed_SpSmtp{"Ed_SpSmtp"};
inline constexpr Flag Ed_Suppress{"Ed_Suppress"};
inline constexpr Flag Ed_WMM{"Ed_WMM"};
inline constexpr Flag Ed_Grouping{"Ed_Grouping"};
inline constexpr Flag Ed_ManagerIP{"Ed_ManagerIP"};
inline constexpr Flag Ed_WDSInfoNotSupport{"Ed_WDSInfoNotSupport"};
inline constexpr Flag Ed_SSLSupport{"Ed_SSLSupport"};
inline constexpr Flag Ed_PacketStatNotSupport{"Ed_PacketStatNotSupport"};
inline constexpr Flag Ed_Ethernet{"Ed_Ethernet"};
inline constexpr Flag Ed_LinkStatusNotSupport{"Ed_LinkStatusNotSupport"};
inline constexpr Flag Ed_DyvlanSupport{"Ed_DyvlanSupport"};
inline constexpr Flag Ed_MssidAndWdssupport{"Ed_MssidAndWdssupport"};
inline constexpr Flag Ed_wmmOverWDSSupported{"Ed_wmmOverWDSSupported"};
inline constexpr Flag Ed_prioritybySSIDSupported{"Ed_prioritybySSIDSupported"};
inline constexpr Flag Ed_ipRangeSupported{"Ed_ipRangeSupported"};
inline constexpr Flag Ifclientinfosupported{"Ifclientinfosupported"};
inline constexpr Flag Ed_ExitPing{"Ed_ExitPing"};

inline constexpr Flag kAll[] = {
    Ed_FwVer,
    Ed_Countrycode,
    ED_Turbomode,
    APModeSupport,
    ifMultiSSID_Edit,
    Ed_Rogue,
    IPAddressEdit,
    SubMaskEdit,
    NewMultiSupport,
    SyslogSupport,
    Ed_ClientAddSSID,
    Ed_KeyTypeSup,
    Ed_spWDSSite,
    Ed_spSNTP,
    Ed_spAccounting,
    Ed_SpSmtp,
    Ed_Suppress,
    Ed_WMM,
    Ed_Grouping,
    Ed_ManagerIP,
    Ed_WDSInfoNotSupport,
    Ed_SSLSupport,
    Ed_PacketStatNotSupport,
    Ed_Ethernet,
    Ed_LinkStatusNotSupport,
    Ed_DyvlanSupport,
    Ed_MssidAndWdssupport,
    Ed_wmmOverWDSSupported,
    Ed_prioritybySSIDSupported,
    Ed_ipRangeSupported,
    Ifclientinfosupported,
    Ed_ExitPing,
};
} // namespace flags

// The flag as a number: 0 when there is no main window or its text is not a number (a flag the
// device did not answer still holds its name).
int flag(Flag which);
// The flag's text as the main window holds it (empty without a main window).
QString flagText(Flag which);

} // namespace pages
