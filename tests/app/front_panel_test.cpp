// The main window against the simulated device: front-panel poll, LEDs, capability probe and
// refresh, menus that follow the device's capabilities.
#include "tests/support/device_window.h"

#include "platform/window_cover.h"

#include <functional>
#include <ostream>
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <vector>

namespace {

using kwtest::SimDevice;
using test::DeviceWindow;

constexpr int kWaitMs = 15000;

class FrontPanel : public DeviceWindow {};

TEST_F(FrontPanel, AnAnsweringDeviceGetsATimedStatusLineEveryPoll) {
    start("recent");
    ASSERT_TRUE(SimDevice::waitUntil([&] { return !form->statusText().isEmpty(); }, kWaitMs));
    const QRegularExpression line(
        R"(^Get: \(QvSNMP\+\+\) Ok!\. Receive at \d\d:\d\d:\d\d [AP]M\.$)");
    EXPECT_TRUE(line.match(form->statusText()).hasMatch()) << form->statusText().toStdString();
    EXPECT_EQ(form->statusCode(), 0);
    // The line is what the status bar shows.
    EXPECT_EQ(form->statusBar()->findChild<QLabel*>("StatusPanel")->text(), form->statusText());
    EXPECT_FALSE(lit("LED_Power"));

    // The poll goes on: one GET of sysDescr every poll interval, never two at once.
    ASSERT_TRUE(SimDevice::waitUntil(
        [&] {
            int polls = 0;
            for (const auto& pdu : sim->requests("get"))
                polls += pdu["varbinds"].toArray()[0].toObject()["oid"] == "1.3.6.1.2.1.1.1.0";
            return polls >= 3;
        },
        kWaitMs));
}

// The LEDs as a blink leaves them after each of its ticks: the power LED out, the LAN LED changed
// at every tick, the wireless LED at every fourth (counting from tick 0), and after tick 99 the
// timer stopped with the LEDs left as they are.
struct LedStates {
    bool power;
    bool lan;
    bool wlan;
    bool operator==(const LedStates&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LedStates& s) {
    return out << "power " << s.power << " lan " << s.lan << " wlan " << s.wlan;
}

class Blink : public DeviceWindow {
protected:
    // The poll held back (it would start blinks of its own) and no blink running: the ticks
    // below are the test's alone. Nothing processes events between them.
    void startQuiet() {
        start("recent");
        QTimer* poll = form->findChild<QTimer*>("LedStatus");
        // The poll's timer runs only while no poll is outstanding.
        ASSERT_TRUE(SimDevice::waitUntil(
            [&] { return form->statusCode() == 0 && poll->isActive(); }, kWaitMs));
        poll->stop();
        ASSERT_TRUE(SimDevice::waitUntil([&] { return !form->blinking(); }, kWaitMs));
        blinkTimer = form->findChild<QTimer*>("LedBlink");
    }
    LedStates leds() const { return {lit("LED_Power"), lit("LED_Lan"), lit("LED_WLan")}; }
    static LedStates afterTicks(LedStates before, int ticks) {
        return {false, ticks % 2 ? !before.lan : before.lan,
                ((ticks + 3) / 4) % 2 ? !before.wlan : before.wlan};
    }
    QTimer* blinkTimer = nullptr;
};

TEST_F(Blink, EveryTickSetsTheLedsAsThePanelShowsThemAndTheHundredthEndsTheBlink) {
    startQuiet();
    const LedStates before = leds();
    for (int tick = 0; tick < 100; ++tick) {
        form->LedBlinkTimer();
        ASSERT_EQ(leds(), afterTicks(before, tick + 1)) << "tick " << tick;
        ASSERT_EQ(form->blinkCounter(), tick + 1);
        ASSERT_EQ(blinkTimer->isActive(), tick < 99) << "tick " << tick;
    }
    // The blink ended: LAN as before it, wireless inverted, power out.
    EXPECT_EQ(leds(), (LedStates{false, before.lan, !before.wlan}));
    EXPECT_FALSE(form->blinking());

    // The next answer starts a new blink from tick 0.
    form->LedBlinkTimer();
    EXPECT_EQ(form->blinkCounter(), 1);
    EXPECT_TRUE(blinkTimer->isActive());
}

// The ways a window goes out of sight and comes back: hidden (minimised, unmapped) and buried
// under other windows (the X server's news, as the window's cover watch passes it on).
struct OutOfSight {
    const char* way;
    std::function<void(TMainForm&)> leave;
    std::function<void(TMainForm&)> back;
};

TEST_F(Blink, AWindowNobodySeesHoldsTheTimerAndCatchesUpWhenSeenAgain) {
    startQuiet();
    ASSERT_NE(form->windowCover(), nullptr);
    const std::vector<OutOfSight> ways = {
        {"hidden", [](TMainForm& f) { f.hide(); }, [](TMainForm& f) { f.show(); }},
        {"covered", [](TMainForm& f) { f.windowCover()->setCovered(true); },
         [](TMainForm& f) { f.windowCover()->setCovered(false); }},
    };
    for (const OutOfSight& way : ways) {
        SCOPED_TRACE(way.way);
        ASSERT_TRUE(form->seen());
        const LedStates before = leds();
        way.leave(*form);
        ASSERT_TRUE(SimDevice::waitUntil([&] { return !form->seen(); }, kWaitMs));

        // A poll answer starts a blink: its first tick is played, the timer waits for the window.
        form->LedBlinkTimer();
        QElapsedTimer since;
        since.start();
        EXPECT_TRUE(form->blinking());
        EXPECT_FALSE(blinkTimer->isActive());
        EXPECT_EQ(leds(), afterTicks(before, 1));
        // Longer than the rest of the blink: nothing ticks meanwhile.
        const int blinkMs = 100 * blinkTimer->interval();
        ASSERT_TRUE(SimDevice::waitUntil([&] { return since.elapsed() > blinkMs + 50; }, kWaitMs));
        EXPECT_EQ(form->blinkCounter(), 1);

        // Seen again, the held-back ticks are played at once: the blink has run out.
        way.back(*form);
        ASSERT_TRUE(SimDevice::waitUntil([&] { return form->seen(); }, kWaitMs));
        EXPECT_FALSE(form->blinking());
        EXPECT_FALSE(blinkTimer->isActive());
        EXPECT_EQ(form->blinkCounter(), 100);
        EXPECT_EQ(leds(), afterTicks(before, 100));
    }
}

TEST_F(Blink, AWindowCoveredInTheMiddleOfABlinkGoesOnWhereTheTimerWouldBe) {
    startQuiet();
    const LedStates before = leds();
    form->LedBlinkTimer();
    ASSERT_TRUE(blinkTimer->isActive());
    form->windowCover()->setCovered(true);
    EXPECT_FALSE(blinkTimer->isActive());
    const int held = form->blinkCounter();
    // About ten ticks' time out of sight, then uncovered: the ticks due are played at once and
    // the timer runs the rest.
    QElapsedTimer since;
    since.start();
    ASSERT_TRUE(SimDevice::waitUntil([&] { return since.elapsed() > 10 * blinkTimer->interval(); },
                                     kWaitMs));
    form->windowCover()->setCovered(false);
    const int counter = form->blinkCounter();
    EXPECT_GE(counter, held + 10);
    EXPECT_EQ(leds(), afterTicks(before, counter));
    // (Only a machine slower than the whole blink finds it over here.)
    EXPECT_EQ(blinkTimer->isActive(), counter < 100);
    ASSERT_TRUE(SimDevice::waitUntil([&] { return !form->blinking(); }, kWaitMs));
    EXPECT_EQ(form->blinkCounter(), 100);
    EXPECT_EQ(leds(), afterTicks(before, 100));
}

TEST_F(FrontPanel, ASilentDeviceLightsThePowerLedOnlyUntilItAnswersAgain) {
    start("recent");
    ASSERT_TRUE(SimDevice::waitUntil(
        [&] { return form->statusCode() == 0 && !form->statusText().isEmpty(); }, kWaitMs));
    ASSERT_TRUE(sim->command("silent 4"));
    ASSERT_TRUE(SimDevice::waitUntil([&] { return form->pollTimedOut(); }, kWaitMs));
    EXPECT_EQ(form->statusCode(), -405);
    EXPECT_EQ(form->statusText(), qv::codeText(-405));
    EXPECT_TRUE(lit("LED_Power"));
    EXPECT_FALSE(lit("LED_Lan"));
    EXPECT_FALSE(lit("LED_WLan"));

    ASSERT_TRUE(SimDevice::waitUntil([&] { return form->statusCode() == 0; }, kWaitMs));
    EXPECT_TRUE(form->statusText().startsWith("Get: (QvSNMP++) Ok!. Receive at "));
    EXPECT_FALSE(lit("LED_Power"));
}

TEST_F(FrontPanel, AStoppedDeviceTimesOutWithTheTextOfAMessageFile) {
    // A message file that words the time-out differently changes the line, not the rule.
    QFile file(dir.filePath("snmpclass.err"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 23; ++i)
        file.write(i == 5 ? "SNMP request timed out!\n" : "(SNMPClass) other\n");
    file.close();
    ASSERT_TRUE(qv::LoadMessageFile(qv::MessageTable::SnmpClass, file.fileName()));

    start("recent");
    sim->stop();
    ASSERT_TRUE(SimDevice::waitUntil([&] { return form->pollTimedOut(); }, kWaitMs));
    EXPECT_EQ(form->statusText(), "SNMP request timed out!");
    EXPECT_TRUE(lit("LED_Power"));
    qv::resetMessageTables();
}

TEST_F(FrontPanel, ABadAddressIsReportedOnEveryPollWithThePowerLedOnly) {
    registry = platform::makeIniRegistry(dir.filePath("registry.ini"));
    platform::setRegistry(registry.get());
    form = std::make_unique<TMainForm>(QStringList{"/I" + test::deviceAddress(9) + ".7"});
    ASSERT_TRUE(form->started());
    EXPECT_EQ(form->statusCode(), -509);
    EXPECT_EQ(form->statusText(), qv::codeText(-509));
    EXPECT_TRUE(lit("LED_Power"));
    EXPECT_FALSE(lit("LED_Lan"));
    // The poll keeps trying.
    EXPECT_TRUE(form->findChild<QTimer*>("LedStatus")->isActive());
    EXPECT_TRUE(prompter.shown.isEmpty());
}

// ---- Capabilities ----------------------------------------------------------------------------

struct ProfileCase {
    const char* profile;
    bool saveSupported;
    const char* firmware;
    const char* syslog;
    // Items visible after their menus opened.
    QStringList shown;
    QStringList hidden;
};

// Test listings name the case by its profile instead of dumping its bytes.
void PrintTo(const ProfileCase& c, std::ostream* os) {
    *os << c.profile;
}

class Capabilities : public DeviceWindow, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(Capabilities, MenusFollowTheDevicesCapabilities) {
    const ProfileCase& c = GetParam();
    start(c.profile);
    EXPECT_EQ(app::saveSupported(), c.saveSupported);
    EXPECT_EQ(form->menuItem("Configration1")->isVisible(), c.saveSupported);
    ASSERT_TRUE(SimDevice::waitUntil([&] { return flag("Ed_FwVer") == c.firmware; }, kWaitMs));
    ASSERT_TRUE(SimDevice::waitUntil([&] { return flag("SyslogSupport") == c.syslog; }, kWaitMs));
    // The other asynchronous capability answers.
    ASSERT_TRUE(SimDevice::waitUntil([&] { return !form->capabilityRefreshPending(); }, kWaitMs));

    for (const char* menu : {"advanced2", "tools2", "status2", "stStats1"})
        emit form->menu(menu)->aboutToShow();
    for (const QString& item : c.shown)
        EXPECT_TRUE(form->menuItem(item)->isVisible()) << item.toStdString();
    for (const QString& item : c.hidden)
        EXPECT_FALSE(form->menuItem(item)->isVisible()) << item.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, Capabilities,
    ::testing::Values(
        // Multi-SSID, rogue AP, grouping (so a manager address: no Miscellaneous), SNTP, client
        // information, log, Ethernet counters, save-and-activate.
        ProfileCase{"recent",
                    true,
                    "v2.50",
                    "1",
                    {"Ad_MultiSSID", "RogueAP", "adGrouping2", "SNTP1", "Client1", "SystemLog",
                     "stStats1", "Ethernet1", "adPerformance1", "tAdmin2"},
                    {"adMode1", "adEncryption2", "tMisc1"}},
        // Early firmware answers none of the newer flags: they keep their design texts, which
        // read as 0. Client Info follows the 1.x firmware.
        ProfileCase{"early",
                    false,
                    "v1.12",
                    "0",
                    {"adMode1", "adEncryption2", "tMisc1", "Client1", "stStats1"},
                    {"Ad_MultiSSID", "RogueAP", "adGrouping2", "SNTP1", "SystemLog", "Ethernet1",
                     "Configration1"}}),
    [](const auto& info) { return std::string(info.param.profile); });

TEST_F(Capabilities, FlagsThatHoldOtherValuesLeaveTheirItemsAsTheyWere) {
    start("recent");
    QAction* rogue = form->menuItem("RogueAP");
    QAction* grouping = form->menuItem("adGrouping2");
    const struct {
        const char* rogueFlag;
        bool before;
        bool after;
    } cases[] = {{"0", true, false}, {"2", false, false}, {"1", false, true}, {"7", true, true}};
    for (const auto& c : cases) {
        rogue->setVisible(c.before);
        grouping->setVisible(c.before);
        form->flagEdit("Ed_Rogue")->setText(c.rogueFlag);
        form->flagEdit("Ed_Grouping")->setText(c.rogueFlag);
        form->advanced2Click();
        EXPECT_EQ(rogue->isVisible(), c.after) << c.rogueFlag;
        EXPECT_EQ(grouping->isVisible(), c.after) << c.rogueFlag;
    }
}

TEST_F(Capabilities, ASilentDeviceHidesClientInfoWithoutAsking) {
    start("recent");
    ASSERT_TRUE(SimDevice::waitUntil(
        [&] { return form->statusCode() == 0 && !form->statusText().isEmpty(); }, kWaitMs));
    form->status2Click();
    EXPECT_TRUE(form->menuItem("Client1")->isVisible());
    ASSERT_TRUE(sim->command("silent 30"));
    ASSERT_TRUE(SimDevice::waitUntil([&] { return form->pollTimedOut(); }, kWaitMs));
    sim->clearJournal();
    form->status2Click();
    EXPECT_FALSE(form->menuItem("Client1")->isVisible());
    for (const auto& pdu : sim->journal())
        EXPECT_NE(pdu["varbinds"].toArray()[0].toObject()["oid"], test::devMibOid("99.1.1.7.0"));
}

TEST_F(Capabilities, EveryEighthRefreshEmptiesThePeriodicFlagsOfASilentDevice) {
    start("recent");
    ASSERT_TRUE(SimDevice::waitUntil(
        [&] { return flag("SyslogSupport") == "1" && flag("IPAddressEdit") == sim->address(); },
        kWaitMs));
    EXPECT_EQ(flag("SubMaskEdit"), "255.0.0.0");
    ASSERT_TRUE(sim->command("silent 60"));
    // Seven refreshes keep what the device last said...
    ASSERT_TRUE(SimDevice::waitUntil([&] { return form->refreshCounter() == 7; }, kWaitMs));
    EXPECT_EQ(flag("SyslogSupport"), "1");
    EXPECT_EQ(flag("Ed_FwVer"), "v2.50");
    // ...the eighth empties the twelve flags before asking again.
    ASSERT_TRUE(SimDevice::waitUntil([&] { return form->refreshCounter() == 1; }, kWaitMs));
    for (const char* name :
         {"Ed_FwVer", "Ed_Countrycode", "ED_Turbomode", "APModeSupport", "ifMultiSSID_Edit",
          "Ed_Rogue", "IPAddressEdit", "SubMaskEdit", "NewMultiSupport", "SyslogSupport",
          "Ed_ClientAddSSID", "Ed_KeyTypeSup"})
        EXPECT_EQ(flag(name), "") << name;
    // Flags read once, and the last periodic ones, keep their texts.
    EXPECT_EQ(flag("Ed_Grouping"), "1");
    EXPECT_EQ(flag("Ed_spSNTP"), "1");
    EXPECT_EQ(form->flag("SyslogSupport"), 0);
}

TEST_F(Capabilities, ClosingTheWindowStopsTheRefresh) {
    start("recent");
    QTimer* refresh = form->findChild<QTimer*>("Timer1");
    EXPECT_TRUE(refresh->isActive());
    form->close();
    EXPECT_FALSE(refresh->isActive());
}

} // namespace
