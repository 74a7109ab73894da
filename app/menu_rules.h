#pragma once
// What the main window's menus show, decided from the capability flags each time a menu opens.
// The flags are the texts of the main window's hidden edits; pages read them as numbers.
#include <optional>
#include <QString>

namespace app {

// A flag as a number: its text read as a decimal integer; text that is not one (the edit's design
// text, an empty edit) counts as 0.
int flagNumber(const QString& text);

// true shows an item, false hides it, nullopt leaves it as it was before the menu opened.
using Visibility = std::optional<bool>;

// 0 hides, 1 shows, any other number leaves the item as it is.
Visibility tristateFlag(const QString& text);

struct AdvancedMenu {
    bool mode = false;       // adMode1
    bool encryption = false; // adEncryption2
    bool multiSsid = false;  // Ad_MultiSSID
    Visibility rogueAp;      // RogueAP
    Visibility grouping;     // adGrouping2
};
// Multi-SSID devices replace Mode and Encryption by the Multi-SSID page.
AdvancedMenu advancedMenu(const QString& multiSsid, const QString& rogue, const QString& grouping);

struct ToolsMenu {
    bool sntp = false; // SNTP1
    bool misc = false; // tMisc1
};
ToolsMenu toolsMenu(const QString& spSntp, const QString& managerIp);

struct StatusMenuFlags {
    bool pollTimedOut = false; // the front-panel poll's last answer was a time-out
    // The client-info flag's text when its refresh at opening succeeded; none when it failed.
    std::optional<QString> clientInfo;
    // After a failed refresh: the poll has timed out meanwhile.
    bool pollTimedOutAfterRefresh = false;
    QString firmwareVersion;        // Ed_FwVer
    QString syslog;                 // SyslogSupport
    QString packetStatNotSupported; // Ed_PacketStatNotSupport
};
struct StatusMenu {
    bool clientInfo = false; // Client1
    Visibility systemLog;    // SystemLog
    Visibility stats;        // stStats1
};
// A silent device hides Client Info and leaves the rest. A device without the client-info flag
// gets Client Info when its firmware version is a 1.x ("v1.12": second character 1).
StatusMenu statusMenu(const StatusMenuFlags& flags);

// Stats submenu: Ethernet1.
bool ethernetStats(const QString& ethernet);

// Page variants of menu items: the page class to open, or empty for none.
QString multiSsidPage(const QString& newMultiSupport);
QString adminPage(const QString& managerIp);
QString firmwarePage(const QString& sslSupport);

} // namespace app
