// "Advanced \ WLAN Partition" against the simulated device: what it shows, the question before
// Ethernet-to-wireless traffic is cut, what Apply writes and the restart that follows on a device
// without save-and-activate.
#include "pages/service/wlan_partition.h"
#include "tests/support/page_window.h"
#include "tests/support/wait_watcher.h"

#include <functional>
#include <QAccessible>
#include <QCheckBox>
#include <QStatusBar>

namespace {

using test::devMibOid;

const QString kStation = devMibOid("2.4.3.1.1.1");
const QString kEthernet = devMibOid("2.4.3.1.2.1");

class WlanPartition : public test::PageWindow<TFM_WPart> {
protected:
    void open(const QString& profile = "recent") { openOn(profile); }
    QString status() const { return page->ui->StatusBar1->currentMessage(); }

    test::WaitWatcher waits;
};

TEST_F(WlanPartition, ShowsTheRadiosSettingsWithTheBandFixed) {
    open();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ WLAN Partition");
    EXPECT_TRUE(page->ui->CB_statconneta->isChecked());
    EXPECT_TRUE(page->ui->CB_WLANAccessa->isChecked());
    EXPECT_EQ(page->ui->CB_Wband->count(), 2);
    EXPECT_EQ(page->ui->CB_Wband->currentText(), "IEEE 802.11g");
    EXPECT_FALSE(page->ui->CB_Wband->isEnabled());
    EXPECT_EQ(page->ui->PageControl1->tabText(0), "IEEE 802.11g");
    EXPECT_EQ(page->ui->Label1->buddy(), page->ui->CB_statconneta);
    EXPECT_EQ(page->ui->Label2->buddy(), page->ui->CB_WLANAccessa);
}

// An assistive tool's toggle or a program's setChecked cuts the traffic as a click does: the
// same question, the same answer kept.
TEST_F(WlanPartition, CuttingWithoutAClickAsksAsWell) {
    open();
    const auto toggleAction = [](QCheckBox* box) {
        QAccessible::queryAccessibleInterface(box)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
    };
    const auto program = [](QCheckBox* box) { box->setChecked(false); };
    for (const auto& uncheck : {std::function<void(QCheckBox*)>(toggleAction),
                                std::function<void(QCheckBox*)>(program)}) {
        ASSERT_TRUE(page->ui->CB_WLANAccessa->isChecked());
        prompter.shown.clear();
        prompter.answers = {platform::Answer::Cancel};
        uncheck(page->ui->CB_WLANAccessa);
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].text, "AP will block all multicast/broadcast packets from "
                                          "Ethernet to Wireless, except DHCP's");
        EXPECT_TRUE(page->ui->CB_WLANAccessa->isChecked());
    }
}

TEST_F(WlanPartition, CuttingEthernetToWirelessAsksFirst) {
    open();
    struct Case {
        platform::Answer answer;
        bool checkedAfter;
        const char* written;
    };
    for (const Case& c :
         {Case{platform::Answer::Cancel, true, "1"}, Case{platform::Answer::Ok, false, "0"}}) {
        SCOPED_TRACE(c.written);
        page->ui->CB_WLANAccessa->setChecked(true);
        prompter.shown.clear();
        prompter.answers = {c.answer};
        page->ui->CB_WLANAccessa->click(); // unchecks: the question comes
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, "Warning");
        EXPECT_EQ(prompter.shown[0].text, "AP will block all multicast/broadcast packets from "
                                          "Ethernet to Wireless, except DHCP's");
        EXPECT_EQ(prompter.shown[0].buttons, platform::Buttons::OkCancel);
        EXPECT_EQ(page->ui->CB_WLANAccessa->isChecked(), c.checkedAfter);

        sim->clearJournal();
        page->ui->BT_Apply->click();
        EXPECT_EQ(sets(), QStringList{kStation + "=1," + kEthernet + "=" + c.written});
    }
    // Checking it again asks nothing.
    prompter.shown.clear();
    page->ui->CB_WLANAccessa->click();
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(WlanPartition, ApplyWritesBothAndRestartsOnlyWithoutSaveAndActivate) {
    struct Case {
        const char* profile;
        const char* fault; // a control command, or nullptr
        const char* status;
        int waits;
    };
    const Case cases[] = {
        {"recent", nullptr, "Setting OK!", 0},
        {"early", nullptr, "Setting OK!", 1},
        {"early", "error devMib.2.4.3 5 set", "Setting Error!", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + (c.fault ? " refused" : ""));
        page.reset();
        form.reset();
        sim.reset();
        waits.seen.clear();
        open(c.profile);
        if (c.fault) {
            ASSERT_TRUE(sim->command(c.fault));
        }
        page->ui->CB_statconneta->setChecked(false);
        page->ui->BT_Apply->click();
        EXPECT_EQ(sets().value(0), kStation + "=0," + kEthernet + "=1");
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(waits.seen.size(), c.waits);
        if (!c.fault) {
            EXPECT_EQ(sim->value(QStringLiteral("devMib.2.4.3.1.1.1"))["value"].toString(), "0");
        }
    }
}

} // namespace
