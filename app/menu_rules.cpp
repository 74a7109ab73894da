#include "app/menu_rules.h"

namespace app {

int flagNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

Visibility tristateFlag(const QString& text) {
    switch (flagNumber(text)) {
    case 0:
        return false;
    case 1:
        return true;
    default:
        return std::nullopt;
    }
}

AdvancedMenu advancedMenu(const QString& multiSsid, const QString& rogue, const QString& grouping) {
    AdvancedMenu menu;
    const bool m = multiSsid == QLatin1String("1");
    menu.mode = !m;
    menu.encryption = !m;
    menu.multiSsid = m;
    menu.rogueAp = tristateFlag(rogue);
    menu.grouping = tristateFlag(grouping);
    return menu;
}

ToolsMenu toolsMenu(const QString& spSntp, const QString& managerIp) {
    return {flagNumber(spSntp) != 0, flagNumber(managerIp) == 0};
}

StatusMenu statusMenu(const StatusMenuFlags& flags) {
    StatusMenu menu;
    if (flags.pollTimedOut)
        return menu;
    if (flags.clientInfo) {
        menu.clientInfo = *flags.clientInfo == QLatin1String("1");
    } else {
        if (flags.pollTimedOutAfterRefresh)
            return menu;
        menu.clientInfo = flags.firmwareVersion.size() > 1 && flags.firmwareVersion[1] == u'1';
    }
    menu.systemLog = tristateFlag(flags.syslog);
    menu.stats = flagNumber(flags.packetStatNotSupported) != 1;
    return menu;
}

bool ethernetStats(const QString& ethernet) {
    return flagNumber(ethernet) == 1;
}

QString multiSsidPage(const QString& newMultiSupport) {
    switch (flagNumber(newMultiSupport)) {
    case 1:
        return QStringLiteral("TFM_MultiSSIDNewForm");
    case 0:
        return QStringLiteral("TFM_MultiSSIDForm");
    default:
        return {};
    }
}

QString adminPage(const QString& managerIp) {
    return flagNumber(managerIp) != 0 ? QStringLiteral("TFM_Admin2") : QStringLiteral("TFM_Admin");
}

QString firmwarePage(const QString& sslSupport) {
    return flagNumber(sslSupport) == 1 ? QStringLiteral("TFM_FirewareSSL")
                                       : QStringLiteral("TFM_Firmware");
}

} // namespace app
