#include "app/menu_rules.h"

#include <gtest/gtest.h>

namespace {

using app::Visibility;
constexpr Visibility kLeave = std::nullopt;

TEST(FlagNumber, TextThatIsNotADecimalNumberReadsAsZero) {
    const struct {
        const char* text;
        int number;
    } cases[] = {
        {"1", 1},  {"0", 0},        {"2", 2},   {"-1", -1},
        {"", 0},   {"Ed_Rogue", 0}, // the design text of an edit never filled
        {"1a", 0}, {"v1.12", 0},    {"0x1", 0}, {" 1", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::flagNumber(c.text), c.number) << c.text;
}

TEST(AdvancedMenu, MultiSsidReplacesModeAndEncryptionAndTheOtherFlagsShowHideOrLeave) {
    const struct {
        const char* multiSsid;
        const char* rogue;
        const char* grouping;
        bool modeAndEncryption;
        bool multiSsidItem;
        Visibility rogueAp;
        Visibility groupingItem;
    } cases[] = {
        {"1", "1", "1", false, true, true, true},
        {"0", "0", "0", true, false, false, false},
        // Only the text "1" counts as multi-SSID; the design text reads as neither.
        {"01", "1", "0", true, false, true, false},
        {"ifMultiSSID_Edit", "Ed_Rogue", "Ed_Grouping", true, false, false, false},
        // A value other than 0 and 1 leaves the item as it was.
        {"1", "2", "-1", false, true, kLeave, kLeave},
        {"", "", "", true, false, false, false},
    };
    for (const auto& c : cases) {
        const app::AdvancedMenu menu = app::advancedMenu(c.multiSsid, c.rogue, c.grouping);
        SCOPED_TRACE(std::string(c.multiSsid) + "/" + c.rogue + "/" + c.grouping);
        EXPECT_EQ(menu.mode, c.modeAndEncryption);
        EXPECT_EQ(menu.encryption, c.modeAndEncryption);
        EXPECT_EQ(menu.multiSsid, c.multiSsidItem);
        EXPECT_EQ(menu.rogueAp, c.rogueAp);
        EXPECT_EQ(menu.grouping, c.groupingItem);
    }
}

TEST(ToolsMenu, SntpNeedsItsFlagAndAManagerHidesMiscellaneous) {
    const struct {
        const char* spSntp;
        const char* managerIp;
        bool sntp;
        bool misc;
    } cases[] = {
        {"1", "0", true, true},  {"0", "1", false, false},
        {"2", "2", true, false}, {"Ed_spSNTP", "Ed_ManagerIP", false, true},
        {"", "", false, true},
    };
    for (const auto& c : cases) {
        const app::ToolsMenu menu = app::toolsMenu(c.spSntp, c.managerIp);
        EXPECT_EQ(menu.sntp, c.sntp) << c.spSntp;
        EXPECT_EQ(menu.misc, c.misc) << c.managerIp;
    }
}

TEST(StatusMenu, ClientInfoFollowsItsFlagOrTheFirmwareAndASilentDeviceHidesIt) {
    const struct {
        const char* name;
        bool timedOut;
        std::optional<QString> clientInfo;
        bool timedOutAfter;
        const char* firmware;
        bool clientItem;
        Visibility log;
        Visibility stats;
    } cases[] = {
        {"flag 1", false, QString("1"), false, "v2.50", true, true, true},
        {"flag 0", false, QString("0"), false, "v1.12", false, true, true},
        {"no flag, firmware 1.x", false, std::nullopt, false, "v1.12", true, true, true},
        {"no flag, firmware 2.x", false, std::nullopt, false, "v2.50", false, true, true},
        {"no flag, short firmware text", false, std::nullopt, false, "1", false, true, true},
        // A silent device: Client Info hidden, the other items left as they were.
        {"timed out at opening", true, std::nullopt, false, "v1.12", false, kLeave, kLeave},
        {"timed out during the refresh", false, std::nullopt, true, "v1.12", false, kLeave, kLeave},
        // The flag's own answer wins over a time-out that came meanwhile.
        {"answered, then timed out", false, QString("1"), true, "v2.50", true, true, true},
    };
    for (const auto& c : cases) {
        app::StatusMenuFlags flags;
        flags.pollTimedOut = c.timedOut;
        flags.clientInfo = c.clientInfo;
        flags.pollTimedOutAfterRefresh = c.timedOutAfter;
        flags.firmwareVersion = c.firmware;
        flags.syslog = "1";
        flags.packetStatNotSupported = "0";
        const app::StatusMenu menu = app::statusMenu(flags);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(menu.clientInfo, c.clientItem);
        EXPECT_EQ(menu.systemLog, c.log);
        EXPECT_EQ(menu.stats, c.stats);
    }
}

TEST(StatusMenu, LogAndStatsFollowTheirFlags) {
    const struct {
        const char* syslog;
        const char* packetStatNotSupported;
        Visibility log;
        bool stats;
    } cases[] = {
        {"1", "0", true, true},
        {"0", "1", false, false},
        {"2", "2", kLeave, true},
        {"SyslogSupport", "Ed_PacketStatNotSupport", false, true},
    };
    for (const auto& c : cases) {
        app::StatusMenuFlags flags;
        flags.clientInfo = QString("1");
        flags.syslog = c.syslog;
        flags.packetStatNotSupported = c.packetStatNotSupported;
        const app::StatusMenu menu = app::statusMenu(flags);
        EXPECT_EQ(menu.systemLog, c.log) << c.syslog;
        EXPECT_EQ(menu.stats, Visibility(c.stats)) << c.packetStatNotSupported;
    }
}

TEST(PageVariants, FlagsChooseThePageOfAnItem) {
    EXPECT_TRUE(app::ethernetStats("1"));
    EXPECT_FALSE(app::ethernetStats("0"));
    EXPECT_FALSE(app::ethernetStats("Ed_Ethernet"));

    const struct {
        const char* flag;
        const char* multiSsid;
        const char* admin;
        const char* firmware;
    } cases[] = {
        {"1", "TFM_MultiSSIDNewForm", "TFM_Admin2", "TFM_FirewareSSL"},
        {"0", "TFM_MultiSSIDForm", "TFM_Admin", "TFM_Firmware"},
        {"2", "", "TFM_Admin2", "TFM_Firmware"},
        {"", "TFM_MultiSSIDForm", "TFM_Admin", "TFM_Firmware"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app::multiSsidPage(c.flag), c.multiSsid) << c.flag;
        EXPECT_EQ(app::adminPage(c.flag), c.admin) << c.flag;
        EXPECT_EQ(app::firmwarePage(c.flag), c.firmware) << c.flag;
    }
}

} // namespace
