// "Advanced \ Grouping" against the simulated device: the user-limit check, the rules that enable
// the controls by load balance and AP mode, what Apply writes, the link-status row, and the
// restart that follows on devices without save-and-activate.
#include "pages/radio/group.h"
#include "tests/support/page_window.h"
#include "tests/support/wait_watcher.h"

#include <QComboBox>
#include <QStatusBar>

namespace {

using test::devMibOid;

QString groupingSet(int loadBalance, const QString& limit, int linkIntegrate) {
    return QStringList{devMibOid("2.6.1.0=") + QString::number(loadBalance),
                       devMibOid("2.6.2.0=") + limit,
                       devMibOid("2.6.4.0=") + QString::number(linkIntegrate)}
        .join(",");
}

class GroupPage : public test::PageWindow<TFM_Group> {
protected:
    void open(const QString& profile = "recent", const QStringList& before = {}) {
        openOn(profile, before);
    }
    QString status() const { return page->ui->StatusBar->currentMessage(); }

    test::WaitWatcher waits;
};

TEST_F(GroupPage, OpensWithTheDeviceSettingsAndTheLinkStatus) {
    open();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ Grouping");
    EXPECT_EQ(page->ui->CB_LoadB->currentText(), "Disable");
    EXPECT_EQ(page->ui->Ed_UsrL->text(), "32");
    EXPECT_EQ(page->ui->CB_LinkInt->currentText(), "Disable");
    EXPECT_EQ(page->ui->ED_APModeComboBox->currentText(), "Access Point");
    EXPECT_TRUE(page->linkStatusShown());
    EXPECT_FALSE(page->ui->Ed_EthLS->isHidden());
    EXPECT_EQ(page->ui->Ed_EthLS->text(), "100Mbps Full Duplex");
    EXPECT_TRUE(page->ui->Ed_EthLS->isReadOnly());
    EXPECT_EQ(page->ui->Label1->buddy(), page->ui->CB_LoadB);
    EXPECT_EQ(page->ui->Label2->buddy(), page->ui->Ed_UsrL);
    // Load balance off: the user limit does not apply; the "Access Point" mode allows changes.
    EXPECT_FALSE(page->ui->Ed_UsrL->isEnabled());
    EXPECT_TRUE(page->ui->CB_LoadB->isEnabled());
    EXPECT_TRUE(page->ui->CB_LinkInt->isEnabled());
    page->ui->CB_LoadB->setCurrentText("Enable");
    EXPECT_TRUE(page->ui->Ed_UsrL->isEnabled());
}

TEST_F(GroupPage, UserLimitOutsideZeroToSixtyFourIsRefusedAndEmptiedEvenWhenDisabled) {
    open();
    ASSERT_FALSE(page->ui->Ed_UsrL->isEnabled());
    struct Case {
        const char* limit;
        bool accepted;
    };
    const Case cases[] = {{"", false}, {"65", false}, {"-1", false}, {"x", false},
                          {"0", true}, {"64", true},  {"07", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        sim->clearJournal();
        prompter.shown.clear();
        page->ui->Ed_UsrL->setText(c.limit);
        page->ui->Bt_Apply->click();
        if (c.accepted) {
            EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
            ASSERT_FALSE(sets().isEmpty());
            EXPECT_EQ(sets().first(), groupingSet(0, QString::number(QString(c.limit).toInt()), 0));
            EXPECT_EQ(status(), "Setting OK!");
        } else {
            EXPECT_EQ(prompter.texts(), QStringList{"Please input a number between 0 and 64."});
            EXPECT_EQ(prompter.shown.first().caption, "Error");
            EXPECT_TRUE(page->ui->Ed_UsrL->text().isEmpty());
            EXPECT_TRUE(sets().isEmpty());
        }
    }
    // With save-and-activate the change waits for the operator's save: no restart.
    EXPECT_TRUE(waits.seen.isEmpty());
}

TEST_F(GroupPage, ARepeaterDisablesBothSelectorsAndApplyStillWritesThem) {
    open("recent", {"set devMib.2.1.1.1.1 4", "set devMib.2.6.1.0 1", "set devMib.2.6.4.0 1"});
    EXPECT_EQ(page->ui->ED_APModeComboBox->currentText(), "AP Repeater");
    EXPECT_FALSE(page->ui->CB_LoadB->isEnabled());
    EXPECT_FALSE(page->ui->CB_LinkInt->isEnabled());
    EXPECT_TRUE(page->ui->Ed_UsrL->isEnabled());
    page->ui->Ed_UsrL->setText("12");
    page->ui->Bt_Apply->click();
    ASSERT_FALSE(sets().isEmpty());
    EXPECT_EQ(sets().first(), groupingSet(1, "12", 1));
    EXPECT_EQ(sim->value("devMib.2.6.2.0")["value"].toVariant().toString(), "12");
    EXPECT_EQ(status(), "Setting OK!");
}

TEST_F(GroupPage, WithoutLinkStatusOneSetAndARestartOnTheFifthTick) {
    open("early-grouping");
    EXPECT_FALSE(page->linkStatusShown());
    EXPECT_TRUE(page->ui->Ed_EthLS->isHidden());
    EXPECT_TRUE(page->ui->Label4->isHidden());
    page->ui->CB_LoadB->setCurrentText("Enable");
    page->ui->Ed_UsrL->setText("5");
    page->ui->Bt_Apply->click();
    EXPECT_EQ(status(), "Setting OK!");
    ASSERT_EQ(waits.seen.size(), 1);
    EXPECT_EQ(waits.seen.first().ticksBeforeReboot, 5);
    EXPECT_TRUE(waits.seen.first().sendReboot);
    // The grouping SET, then the wait dialog's restart command (4: restart).
    EXPECT_EQ(sets(), (QStringList{groupingSet(1, "5", 0), devMibOid("3.3.5.0=4")}));
}

TEST_F(GroupPage, ARefusedWriteIsReportedAndNothingRestarts) {
    open("early-grouping");
    ASSERT_TRUE(sim->command("error devMib.2.6 10 set"));
    page->ui->Ed_UsrL->setText("5");
    page->ui->Bt_Apply->click();
    EXPECT_EQ(status(), "Setting Error!");
    EXPECT_TRUE(waits.seen.isEmpty());
}

TEST_F(GroupPage, ALoadBalanceOutsideItsListIsNeverWritten) {
    open("recent", {"define devMib.2.6.1.0 integer rw 7"});
    EXPECT_EQ(page->ui->CB_LoadB->currentIndex(), -1);
    page->ui->Bt_Apply->click();
    EXPECT_EQ(prompter.texts(), QStringList{"Please select a value for Load Balance."});
    EXPECT_TRUE(sets().isEmpty());
    EXPECT_EQ(page->focusWidget(), page->ui->CB_LoadB);
}

} // namespace
