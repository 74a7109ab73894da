#include "app/menu_items.h"

#include "app/menu_rules.h"

#include <cstdlib>
#include <QHash>

namespace app {

const MenuEntry& menuEntry(std::string_view name) {
    for (const MenuEntry& entry : kMenuEntries)
        if (name == entry.name)
            return entry;
    std::abort();
}

QString menuCaption(std::string_view name) {
    const QString path = QString::fromUtf8(menuEntry(name).path);
    const QLatin1String separator(kMenuPathSeparator);
    const qsizetype at = path.lastIndexOf(separator);
    return at < 0 ? path : path.mid(at + separator.size());
}

std::vector<DevicePage> devicePages(const FlagTexts& flags,
                                    const std::optional<QString>& clientInfo) {
    const auto flag = [&](const char* name) { return flags(QString::fromLatin1(name)); };
    const AdvancedMenu advanced =
        advancedMenu(flag("ifMultiSSID_Edit"), flag("Ed_Rogue"), flag("Ed_Grouping"));
    const ToolsMenu tools = toolsMenu(flag("Ed_spSNTP"), flag("Ed_ManagerIP"));
    StatusMenuFlags statusFlags;
    statusFlags.clientInfo = clientInfo;
    statusFlags.firmwareVersion = flag("Ed_FwVer");
    statusFlags.syslog = flag("SyslogSupport");
    statusFlags.packetStatNotSupported = flag("Ed_PacketStatNotSupport");
    const StatusMenu status = statusMenu(statusFlags);

    // A rule that leaves an item as it was leaves it as the menus are built: shown.
    const QHash<QString, bool> shown{
        {"adMode1", advanced.mode},
        {"adEncryption2", advanced.encryption},
        {"Ad_MultiSSID", advanced.multiSsid},
        {"RogueAP", advanced.rogueAp.value_or(true)},
        {"adGrouping2", advanced.grouping.value_or(true)},
        {"SNTP1", tools.sntp},
        {"tMisc1", tools.misc},
        {"Client1", status.clientInfo},
        {"SystemLog", status.systemLog.value_or(true)},
        {"stStats1", status.stats.value_or(true)},
        {"Ethernet1", ethernetStats(flag("Ed_Ethernet"))},
    };
    const QHash<QString, QString> chosen{
        {"Ad_MultiSSID", multiSsidPage(flag("NewMultiSupport"))},
        {"tAdmin2", adminPage(flag("Ed_ManagerIP"))},
        {"Firmware1", firmwarePage(flag("Ed_SSLSupport"))},
    };

    std::vector<DevicePage> pages;
    for (const MenuEntry& entry : kMenuEntries) {
        if (entry.page == nullptr)
            continue;
        // An item shows when it and every menu above it show.
        bool visible = true;
        for (const MenuEntry& menu : kMenuEntries) {
            const QString path = QString::fromUtf8(entry.path);
            const QString above = QString::fromUtf8(menu.path);
            if (path == above || path.startsWith(above + QLatin1String(kMenuPathSeparator)))
                visible = visible && shown.value(QString::fromLatin1(menu.name), true);
        }
        const QString page = *entry.page ? QString::fromLatin1(entry.page)
                                         : chosen.value(QString::fromLatin1(entry.name));
        if (visible && !page.isEmpty())
            pages.push_back({&entry, page});
    }
    return pages;
}

} // namespace app
