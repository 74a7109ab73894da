// Save and Active, Discard Changes and the wait dialog, against the simulated device.
#include "tests/support/device_window.h"

#include <QAccessible>
#include <QAction>
#include <QTimer>

namespace {

using kwtest::SimDevice;
using test::DeviceWindow;
using test::devMibOid;

constexpr int kWaitMs = 15000;

class SaveAndDiscard : public DeviceWindow {};

TEST_F(SaveAndDiscard, SaveSendsOneActivateAndOpensTheCountDown) {
    start("recent");
    ASSERT_TRUE(app::saveSupported());
    sim->clearJournal();
    form->menuItem("cfgSave1")->trigger();
    EXPECT_EQ(sets(), QStringList{devMibOid("5.1.0") + "=1"});
    ASSERT_NE(form->waitDialog(), nullptr);
    EXPECT_TRUE(form->waitDialog()->isVisible());
    EXPECT_FALSE(form->waitDialog()->isModal());
    EXPECT_TRUE(prompter.shown.isEmpty());

    // A second save replaces the first dialog.
    QPointer<TFM_Waiting> first = form->waitDialog();
    ASSERT_TRUE(SimDevice::waitUntil([&] { return form->statusCode() == 0; }, kWaitMs));
    form->cfgSave1Click();
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(form->waitDialog(), nullptr);
}

TEST_F(SaveAndDiscard, DiscardAsksFirstAndSendsOnlyOnOk) {
    start("recent");
    sim->clearJournal();
    prompter.answers = {platform::Answer::Cancel};
    form->menuItem("cfgDiscard1")->trigger();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_EQ(prompter.shown[0].text, "All of your changes will be discarded! continue?");
    EXPECT_EQ(prompter.shown[0].buttons, platform::Buttons::OkCancel);
    EXPECT_TRUE(sets().isEmpty());

    prompter.answers = {platform::Answer::Ok};
    form->menuItem("cfgDiscard1")->trigger();
    EXPECT_EQ(sets(), QStringList{devMibOid("5.2.0") + "=1"});
    EXPECT_EQ(form->waitDialog(), nullptr); // discarding restarts nothing

    // A save after a discard sends the activate alone again.
    sim->clearJournal();
    form->cfgSave1Click();
    EXPECT_EQ(sets(), QStringList{devMibOid("5.1.0") + "=1"});
}

TEST_F(SaveAndDiscard, ASaveTheDeviceRefusesIsShownAndRestartsNothing) {
    start("recent");
    ASSERT_TRUE(sim->command("error devMib.5 5 set"));
    form->cfgSave1Click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption, "Error");
    EXPECT_EQ(prompter.shown[0].text, qv::codeText(-105));
    EXPECT_EQ(form->waitDialog(), nullptr);
}

TEST_F(SaveAndDiscard, ASaveThatTimesOutStillCountsDown) {
    start("recent");
    ASSERT_TRUE(sim->command("silence devMib.5 set"));
    form->cfgSave1Click();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_NE(form->waitDialog(), nullptr);
}

// ---- The wait dialog -------------------------------------------------------------------------

class WaitDialog : public DeviceWindow {
protected:
    // A dialog whose ticks the test gives by hand.
    std::unique_ptr<TFM_Waiting> manual(bool silent = false) {
        auto wait = std::make_unique<TFM_Waiting>(form.get());
        wait->Timer1->stop();
        wait->deviceSilent = [this, silent] { return silent || forceSilent; };
        wait->show();
        return wait;
    }
    QStringList restarts() const {
        QStringList out;
        for (const QString& set : sets())
            if (set.startsWith(devMibOid("3.3.5.0")))
                out << set;
        return out;
    }
    bool forceSilent = false;
};

TEST_F(WaitDialog, CountsDownAndClosesItself) {
    TFM_Waiting wait(nullptr);
    wait.deviceSilent = [] { return false; };
    wait.sendReboot = false;
    wait.show();
    EXPECT_EQ(wait.windowTitle(), "Please wait");
    EXPECT_EQ(wait.La_Time->text(), "25");
    ASSERT_TRUE(SimDevice::waitUntil([&] { return wait.secondsLeft == 20; }, kWaitMs));
    EXPECT_EQ(wait.La_Time->text(), "20");
    EXPECT_TRUE(wait.isVisible());
    ASSERT_TRUE(SimDevice::waitUntil([&] { return !wait.isVisible(); }, kWaitMs));
    EXPECT_EQ(wait.secondsLeft, 0);
    EXPECT_EQ(wait.La_Time->text(), "0");
    EXPECT_FALSE(wait.Timer1->isActive());
}

// A screen reader hears the number with what it counts, at every tick, not a fixed "Seconds
// left" without the number.
TEST_F(WaitDialog, AnnouncesTheSecondsLeftAtEveryTick) {
    TFM_Waiting wait(nullptr);
    wait.Timer1->stop();
    wait.deviceSilent = [] { return false; };
    wait.sendReboot = false;
    wait.show();
    QAccessibleInterface* count = QAccessible::queryAccessibleInterface(wait.La_Time);
    ASSERT_NE(count, nullptr);
    for (int left : {25, 24, 23}) {
        EXPECT_EQ(count->text(QAccessible::Name), QStringLiteral("%1 seconds left").arg(left));
        EXPECT_EQ(wait.La_Time->text(), QString::number(left));
        wait.Timer1Timer();
    }
}

TEST_F(WaitDialog, SendsTheRestartCommandOnceAtItsSecondTick) {
    start("early");
    ASSERT_FALSE(app::saveSupported());
    sim->clearJournal();
    auto wait = manual();
    wait->Timer1Timer();
    EXPECT_TRUE(wait->rebootPending);
    EXPECT_EQ(wait->rebootRequest(), nullptr);
    wait->Timer1Timer();
    EXPECT_FALSE(wait->rebootPending);
    EXPECT_EQ(wait->Ed_Reboot->text(), "Reboot");
    ASSERT_TRUE(SimDevice::waitUntil([&] { return !restarts().isEmpty(); }, kWaitMs));
    for (int i = 0; i < 5; ++i)
        wait->Timer1Timer();
    SimDevice::waitUntil([] { return false; }, 300);
    EXPECT_EQ(restarts(), QStringList{devMibOid("3.3.5.0") + "=4"});
    EXPECT_EQ(wait->secondsLeft, 18);
}

TEST_F(WaitDialog, RestartsOnlyWhenAskedToAndTheDeviceCannotSave) {
    const struct {
        const char* name;
        const char* profile;
        bool sendReboot;
        int ticksBeforeReboot;
        int restartsAfterFiveTicks;
    } cases[] = {
        {"later restart", "early", true, 5, 1},
        {"count-down only", "early", false, 2, 0},
        {"device saves and restarts itself", "recent", true, 2, 0},
    };
    int n = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        sim.reset();
        start(c.profile, n++);
        sim->clearJournal();
        auto wait = manual();
        wait->sendReboot = c.sendReboot;
        wait->ticksBeforeReboot = c.ticksBeforeReboot;
        for (int tick = 1; tick <= 4; ++tick)
            wait->Timer1Timer();
        wait->Timer1Timer();
        SimDevice::waitUntil([&] { return restarts().size() >= c.restartsAfterFiveTicks; },
                             c.restartsAfterFiveTicks ? kWaitMs : 500);
        EXPECT_EQ(restarts().size(), c.restartsAfterFiveTicks);
        EXPECT_EQ(wait->rebootPending, app::saveSupported());
    }
}

TEST_F(WaitDialog, TheOperatorCannotCloseItDuringTheCountDown) {
    start("early");
    auto wait = manual();
    wait->Timer1Timer();
    wait->reject(); // Escape
    EXPECT_TRUE(wait->isVisible());
    EXPECT_FALSE(wait->close()); // the title bar's close button
    EXPECT_TRUE(wait->isVisible());
    EXPECT_EQ(wait->secondsLeft, 24);
}

TEST_F(WaitDialog, ASilentDeviceStallsTheLastSecondThenLetsItClose) {
    start("early");
    auto wait = manual();
    wait->sendReboot = false;
    forceSilent = true;
    // Silence counts only at the last second.
    wait->Timer1Timer();
    EXPECT_EQ(wait->secondsLeft, 24);
    EXPECT_EQ(wait->stallCount, 0);
    wait->secondsLeft = 1;
    wait->Timer1Timer();
    wait->Timer1Timer();
    EXPECT_EQ(wait->secondsLeft, 1);
    EXPECT_EQ(wait->stallCount, 2);
    EXPECT_FALSE(wait->close());
    wait->Timer1Timer();
    EXPECT_EQ(wait->stallCount, 3);
    // More than two stalls: a close ends the count-down.
    EXPECT_TRUE(wait->close());
    EXPECT_EQ(wait->secondsLeft, 0);
    EXPECT_FALSE(wait->isVisible());
}

TEST_F(WaitDialog, SixStallsCloseItAndAnAnswerEndsTheCountDown) {
    start("early");
    auto wait = manual();
    wait->sendReboot = false;
    wait->secondsLeft = 1;
    forceSilent = true;
    for (int tick = 1; tick <= 5; ++tick)
        wait->Timer1Timer();
    EXPECT_TRUE(wait->isVisible());
    wait->Timer1Timer();
    EXPECT_FALSE(wait->isVisible());

    auto answered = manual();
    answered->sendReboot = false;
    answered->secondsLeft = 1;
    forceSilent = false;
    answered->Timer1Timer();
    EXPECT_EQ(answered->secondsLeft, 0);
    EXPECT_FALSE(answered->isVisible());
}

TEST_F(WaitDialog, ByDefaultItStallsOnThePollsTimeOut) {
    start("early");
    TFM_Waiting wait(nullptr);
    wait.Timer1->stop();
    wait.sendReboot = false;
    wait.secondsLeft = 1;
    sim->stop();
    ASSERT_TRUE(SimDevice::waitUntil([&] { return form->pollTimedOut(); }, kWaitMs));
    wait.show();
    wait.Timer1Timer();
    EXPECT_EQ(wait.secondsLeft, 1);
    EXPECT_EQ(wait.stallCount, 1);
}

} // namespace
