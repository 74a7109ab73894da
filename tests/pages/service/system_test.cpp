// The system page against the simulated device: Restart and Restore write only their own command,
// after the operator's confirmation, and the count-down starts only when the device took the
// command or did not answer; a device that refuses it says so and does not restart.
#include "pages/service/system.h"
#include "snmplib/messages.h"
#include "tests/pages/service/service_page.h"

#include <QComboBox>
#include <QStatusBar>

namespace {

using platform::Answer;
using test::devMibOid;

class SystemPage : public test::ServicePage<TFM_Sytem> {
protected:
    void open(const QString& profile = "early") { openOn(profile); }
};

TEST_F(SystemPage, OpensWithBothCommandsReadIntoHiddenControls) {
    open();
    EXPECT_EQ(page->windowTitle(), "Tools \\ System");
    EXPECT_EQ(page->ui->CB_Restart->currentText(), "False");
    EXPECT_EQ(page->ui->CB_Restore->currentText(), "False");
    EXPECT_FALSE(page->ui->CB_Restart->isVisibleTo(page.get()));
    EXPECT_FALSE(page->ui->CB_Restore->isVisibleTo(page.get()));
    EXPECT_EQ(page->ui->Label1->buddy(), page->ui->Button1);
    EXPECT_EQ(page->ui->Label2->buddy(), page->ui->Button2);
}

// How the device answers the command.
enum class Answered { Yes, Refused, Silent };

TEST_F(SystemPage, CommandsWriteOnlyTheirOwnObjectAndCountDownUnlessRefused) {
    const QString restart = devMibOid("3.2.1.0=1");
    const QString restore = devMibOid("3.2.2.0=1");
    const QString restartTitle = "System is rebooting, please waiting.....";
    const QString restoreTitle = "System is rebooting, please waiting.....!";
    struct Case {
        const char* name;
        std::vector<QPushButton * Ui::TFM_Sytem::*> buttons;
        std::deque<Answer> answers;
        Answered answered;
        QStringList sets;
        QString waitTitle; // empty: no count-down
        QString waitLabel3;
    };
    const Case cases[] = {
        {"restart cancelled",
         {&Ui::TFM_Sytem::Button1},
         {Answer::Cancel},
         Answered::Yes,
         {},
         {},
         {}},
        {"restore cancelled",
         {&Ui::TFM_Sytem::Button2},
         {Answer::Cancel},
         Answered::Yes,
         {},
         {},
         {}},
        {"restart",
         {&Ui::TFM_Sytem::Button1},
         {Answer::Ok},
         Answered::Yes,
         {restart},
         restartTitle,
         "The device is restarting."},
        {"restore",
         {&Ui::TFM_Sytem::Button2},
         {Answer::Ok},
         Answered::Yes,
         {restore},
         restoreTitle,
         "The system IP will be 192.168.0.50 !"},
        // The restore marked the restart left out; the restart marks the restore left out.
        {"restore cancelled, then restart",
         {&Ui::TFM_Sytem::Button2, &Ui::TFM_Sytem::Button1},
         {Answer::Cancel, Answer::Ok},
         Answered::Yes,
         {restart},
         restartTitle,
         "The device is restarting."},
        {"restart refused",
         {&Ui::TFM_Sytem::Button1},
         {Answer::Ok},
         Answered::Refused,
         {restart},
         {},
         {}},
        {"restore refused",
         {&Ui::TFM_Sytem::Button2},
         {Answer::Ok},
         Answered::Refused,
         {restore},
         {},
         {}},
        // No answer: the device may be restarting already.
        // (sent twice: the request tries once more before it times out)
        {"restart unanswered",
         {&Ui::TFM_Sytem::Button1},
         {Answer::Ok},
         Answered::Silent,
         {restart, restart},
         restartTitle,
         "The device is restarting."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        if (c.answered == Answered::Refused) {
            ASSERT_TRUE(sim->command("error devMib.3.2 5 set"));
        }
        if (c.answered == Answered::Silent) {
            ASSERT_TRUE(sim->command("silence devMib.3.2 set"));
        }
        prompter.answers = c.answers;
        for (auto button : c.buttons)
            (page->ui.get()->*button)->click();

        EXPECT_EQ(sets(), c.sets);
        ASSERT_EQ(prompter.shown.size(), c.buttons.size());
        for (const auto& shown : prompter.shown) {
            EXPECT_EQ(shown.caption, "Warning");
            EXPECT_EQ(shown.text, "Device will reboot, continue?");
        }
        if (c.waitTitle.isEmpty()) {
            EXPECT_TRUE(waits.seen.isEmpty());
        } else {
            ASSERT_EQ(waits.seen.size(), 1);
            EXPECT_EQ(waits.seen[0].title, c.waitTitle);
            EXPECT_EQ(waits.seen[0].label3, c.waitLabel3);
            EXPECT_FALSE(waits.seen[0].sendReboot);
        }
        if (c.answered == Answered::Refused) {
            EXPECT_TRUE(status().contains(qv::codeText(-105))) << status().toStdString();
            // Nothing restarted: the device answers at once.
            EXPECT_TRUE(sim->command("clear"));
            EXPECT_EQ(sim->value("devMib.3.2.1.0")["value"].toString(), "2");
        }
    }
}

TEST_F(SystemPage, RestoreBringsBackTheFactorySettings) {
    open("early");
    ASSERT_TRUE(sim->command("set devMib.3.1.1.0 operator"));
    prompter.answers = {Answer::Ok};
    page->ui->Button2->click();
    ASSERT_EQ(waits.seen.size(), 1);
    ASSERT_TRUE(kwtest::SimDevice::waitUntil(
        [&] { return sim->value("devMib.3.1.1.0")["value"].toString() == "admin"; }, 8000));
}

} // namespace
