#pragma once
// The menu bar's menus and items as data: object name, place as the operator reads it, and the
// page an item opens. The main window builds its menus from this list; kw9100-settings walks it
// to find the pages a device has. Which items show is decided by the rules of app/menu_rules.h.
#include <functional>
#include <optional>
#include <QString>
#include <string_view>
#include <vector>

namespace app {

// Separates the levels of a menu path: "Advanced \ Filter \ WLAN Partition".
inline constexpr char kMenuPathSeparator[] = " \\ ";

struct MenuEntry {
    const char* name; // object name of the menu or item ("adPerformance1")
    const char* path; // "Advanced \ Performance"; the last level is its caption
    // The class of the page the item opens; empty where a rule picks it from the capability
    // flags (Multi-SSID, Admin, Firmware); null for menus and for items that open no page.
    const char* page = nullptr;
};

// Menu bar order. Menus come before their items.
inline constexpr MenuEntry kMenuEntries[] = {
    {"Home1", "Home"},
    {"Information1", "Home \\ Information", "Information"},
    {"hWirelessBand1", "Home \\ Wireless", "TFM_Wirless"},
    {"hLan1", "Home \\ LAN", "TFM_LanCfg"},
    {"advanced2", "Advanced"},
    {"adMode1", "Advanced \\ Mode", "TFM_ModeCFG"},
    {"adPerformance1", "Advanced \\ Performance", "TFM_Performace"},
    {"adFilters2", "Advanced \\ Filter"},
    {"WirelessMACACL1", "Advanced \\ Filter \\ Wireless MAC ACL", "TFM_WMACACL"},
    {"WirelessPatrition1", "Advanced \\ Filter \\ WLAN Partition", "TFM_WPart"},
    {"adEncryption2", "Advanced \\ Encryption", "TFM_Encrypt"},
    {"adGrouping2", "Advanced \\ Grouping", "TFM_Group"},
    {"adDHCPServer2", "Advanced \\ DHCP Server", "TFM_DHCP"},
    {"Ad_MultiSSID", "Advanced \\ Multi-SSID", ""},
    {"RogueAP", "Advanced \\ Rogue AP", "TFM_RogueForm"},
    {"tools2", "Tools"},
    {"tAdmin2", "Tools \\ Admin", ""},
    {"tSystem2", "Tools \\ System", "TFM_Sytem"},
    {"Firmware1", "Tools \\ Firmware", ""},
    {"tUpdate2", "Tools \\ Configuration File", "TFM_CfgFile"},
    {"tMisc1", "Tools \\ Miscellaneous", "TFM_Misc"},
    {"SNTP1", "Tools \\ SNTP", "TSNTPForm"},
    {"status2", "Status"},
    {"stDeviceInfo2", "Status \\ Device Info", "TFM_DevInfo"},
    {"stStats1", "Status \\ Stats"},
    {"Ethernet1", "Status \\ Stats \\ Ethernet", "TFM_Ethernet"},
    {"WLAN80211G1", "Status \\ Stats \\ WLAN 802.11G", "TFM_Static"},
    {"Client1", "Status \\ Client Info", "TClientInformation"},
    {"SystemLog", "Status \\ Log"},
    {"stViewLog1", "Status \\ Log \\ View Log", "TLogForm"},
    {"stLogSetting1", "Status \\ Log \\ Log Setting", "TFM_LogSet"},
    {"Configration1", "Status \\ Configuration"},
    {"cfgSave1", "Status \\ Configuration \\ Save and Active"},
    {"cfgDiscard1", "Status \\ Configuration \\ Discard Changes"},
    {"Help1", "Help"},
    {"About1", "Help \\ About"},
    // Menus of the design that have no function.
    {"WirelessLAN1", "Wireless LAN"},
    {"MIBII1", "MIB II"},
    {"APManagement1", "AP Management"},
};

// The entry of that object name; a name not in the list is a programming error (aborts).
const MenuEntry& menuEntry(std::string_view name);
// The entry's caption: the last level of its path.
QString menuCaption(std::string_view name);

// A capability flag's text by the name of its hidden edit ("Ed_Grouping"); empty when unknown.
using FlagTexts = std::function<QString(const QString& name)>;

struct DevicePage {
    const MenuEntry* item;
    QString page; // the class the item opens on this device
};

// The page items a device's menus show when each menu is first opened, in menu order, with the
// page each opens: the rules of app/menu_rules.h over its flags. `clientInfo` is the client-info
// flag's text when its read succeeded (the Status menu asks it as it opens).
std::vector<DevicePage> devicePages(const FlagTexts& flags,
                                    const std::optional<QString>& clientInfo);

} // namespace app
