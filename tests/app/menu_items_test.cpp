// The menu list: the main window's menus built from it with its captions, and the pages a device
// has, as the menu rules decide them over its flags when each menu first opens.
#include "app/main_window.h"
#include "app/menu_items.h"
#include "tests/support/scripted_prompter.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QHash>
#include <QTemporaryDir>

namespace {

TEST(MenuItems, TheMainWindowsMenusAreTheListsWithItsCaptions) {
    QTemporaryDir dir;
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    test::ScriptedPrompter prompter; // no arguments: the window refuses to start, menus built
    TMainForm form({});
    for (const app::MenuEntry& entry : app::kMenuEntries) {
        SCOPED_TRACE(entry.name);
        const QAction* item = form.menuItem(entry.name);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->text(), app::menuCaption(entry.name));
    }
    EXPECT_EQ(app::menuCaption("WirelessPatrition1"), "WLAN Partition");
    EXPECT_EQ(app::menuCaption("Home1"), "Home");
    QDir::setCurrent(saved);
}

QStringList pagesOf(const QHash<QString, QString>& flags, std::optional<QString> clientInfo) {
    QStringList pages;
    for (const app::DevicePage& p :
         app::devicePages([&](const QString& name) { return flags.value(name); }, clientInfo))
        pages << p.page;
    return pages;
}

TEST(MenuItems, APagesDeviceIsWhatItsMenusOffer) {
    const QStringList always{"Information", "TFM_Wirless", "TFM_LanCfg", "TFM_Performace",
                             "TFM_WMACACL", "TFM_WPart",   "TFM_DHCP",   "TFM_Sytem",
                             "TFM_CfgFile", "TFM_DevInfo", "TFM_Static"};
    struct Case {
        const char* name;
        QHash<QString, QString> flags;
        std::optional<QString> clientInfo;
        QStringList has;
        QStringList lacks;
    };
    const Case cases[] = {
        {"no flags at all",
         {},
         std::nullopt,
         {"TFM_ModeCFG", "TFM_Encrypt", "TFM_Admin", "TFM_Firmware", "TFM_Misc"},
         {"TFM_Group", "TFM_RogueForm", "TSNTPForm", "TClientInformation", "TLogForm",
          "TFM_Ethernet", "TFM_MultiSSIDNewForm", "TFM_MultiSSIDForm"}},
        {"multi-SSID, grouping, SSL, SNTP, syslog, client info",
         {{"ifMultiSSID_Edit", "1"},
          {"NewMultiSupport", "1"},
          {"Ed_Grouping", "1"},
          {"Ed_ManagerIP", "1"},
          {"Ed_SSLSupport", "1"},
          {"Ed_spSNTP", "1"},
          {"SyslogSupport", "1"},
          {"Ed_Rogue", "1"},
          {"Ed_Ethernet", "1"}},
         QString("1"),
         {"TFM_MultiSSIDNewForm", "TFM_Group", "TFM_Admin2", "TFM_FirewareSSL", "TSNTPForm",
          "TLogForm", "TFM_LogSet", "TClientInformation", "TFM_RogueForm", "TFM_Ethernet"},
         {"TFM_ModeCFG", "TFM_Encrypt", "TFM_Misc", "TFM_Admin", "TFM_Firmware"}},
        // A rule that leaves an item as it is leaves it shown; a hidden submenu hides its items.
        {"flags that leave items, statistics not supported",
         {{"Ed_Rogue", "2"},
          {"Ed_Grouping", "2"},
          {"SyslogSupport", "2"},
          {"Ed_PacketStatNotSupport", "1"},
          {"Ed_Ethernet", "1"},
          {"ifMultiSSID_Edit", "1"},
          {"NewMultiSupport", "0"}},
         std::nullopt,
         {"TFM_RogueForm", "TFM_Group", "TLogForm", "TFM_LogSet", "TFM_MultiSSIDForm"},
         {"TFM_Ethernet", "TFM_Static", "TClientInformation"}},
        {"firmware 1.x without the client-info flag",
         {{"Ed_FwVer", "v1.12"}},
         std::nullopt,
         {"TClientInformation"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList pages = pagesOf(c.flags, c.clientInfo);
        for (const QString& page : always) {
            if (!c.lacks.contains(page)) {
                EXPECT_TRUE(pages.contains(page)) << page.toStdString();
            }
        }
        for (const QString& page : c.has)
            EXPECT_TRUE(pages.contains(page)) << page.toStdString();
        for (const QString& page : c.lacks)
            EXPECT_FALSE(pages.contains(page)) << page.toStdString();
        EXPECT_EQ(QStringList(pages).removeDuplicates(), 0);
    }
    // In menu order, each with its menu path.
    const auto pages = app::devicePages([](const QString&) { return QString(); }, std::nullopt);
    ASSERT_FALSE(pages.empty());
    EXPECT_STREQ(pages.front().item->path, "Home \\ Information");
    EXPECT_STREQ(pages.back().item->path, "Status \\ Stats \\ WLAN 802.11G");
}

} // namespace
