// The DHCP server page against the simulated device: the dynamic pool's checks and writes, the
// static slots (listed, added in the first free slot, a MAC that already has a slot cleared and
// then written, a full pool, change, delete and the new listing), the leases, and when the page
// may close.
#include "pages/service/dhcp.h"
#include "pages/service/static_ip.h"
#include "platform/events.h"
#include "tests/support/page_window.h"
#include "tests/support/scripted_echo.h"
#include "tests/support/wait_watcher.h"

#include <functional>
#include <QComboBox>
#include <QJsonArray>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

namespace {

using test::devMibOid;

const QString kFunctionOn = devMibOid("2.7.1.0=1");

// A static slot as the device receives it: IP, MAC (hex), mask, gateway, WINS, DNS, domain,
// status, at the OIDs of the slot.
QString slotSet(int slot, const QString& ip, const QString& mac, const QString& mask,
                const QString& gw, const QString& wins, const QString& dns, const QString& domain,
                int status) {
    const auto at = [slot](int column, const QString& value) {
        return devMibOid(QString("2.7.3.1.%1.%2=%3").arg(column).arg(slot).arg(value));
    };
    return QStringList{at(1, ip),   at(2, mac), at(3, mask),   at(4, gw),
                       at(6, wins), at(5, dns), at(7, domain), at(8, QString::number(status))}
        .join(",");
}
QString clearedSlot(int slot) {
    return slotSet(slot, "0.0.0.0", "000000000000", "0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0", "",
                   0);
}

QStringList column(QTreeWidget* list, int c) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(c);
    return out;
}

class DhcpPage : public test::PageWindow<TFM_DHCP> {
protected:
    void open(const QString& profile = "recent") {
        start(profile);
        openPage();
    }
    void openPage(bool waitForListing = true) {
        showPage();
        if (waitForListing) {
            ASSERT_TRUE(settled());
        }
        sim->clearJournal();
        prompter.shown.clear();
    }
    // Every listing of the page has arrived.
    bool settled() {
        return kwtest::SimDevice::waitUntil(
            [&] { return !page->poolBusy() && !page->exchangesOutstanding(); }, 8000);
    }
    // The SETs the device received; the static slots' MACs as hex.
    QStringList slotSets() const { return sets({QStringLiteral("2.7.3.1.2.")}); }
    bool walkedAfterLastSet() const {
        bool setSeen = false, walked = false;
        for (const QJsonObject& line : sim->journal()) {
            if (line["op"].toString() == "set") {
                setSeen = true;
                walked = false;
            } else if (setSeen && line["op"].toString() == "getnext") {
                walked = true;
            }
        }
        return walked;
    }
    void selectUserRow(const QString& ip) {
        for (int i = 0; i < page->ui->User_ListView->topLevelItemCount(); ++i)
            if (page->ui->User_ListView->topLevelItem(i)->text(1) == ip)
                page->ui->User_ListView->setCurrentItem(page->ui->User_ListView->topLevelItem(i));
    }
    // Runs `fill` once the static-entry dialog shows, then its Apply; a dialog still open
    // afterwards (a refusal) is closed.
    void whenDialogShows(const std::function<void(TFM_StaticIP&)>& fill) {
        QTimer::singleShot(0, page.get(), [this, fill] {
            TFM_StaticIP* d = page->staticDialog();
            if (!d->isVisible())
                return;
            dialogShown = true;
            dialogTitle = d->windowTitle();
            fill(*d);
            d->ApplyClick();
            if (d->isVisible())
                d->reject();
        });
    }

    test::ScriptedEchoProbe probe;
    test::WaitWatcher waits;
    bool dialogShown = false;
    QString dialogTitle;
};

TEST_F(DhcpPage, OpensWithThePoolTheUsedSlotsNumberedAndTheLeases) {
    open();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ DHCP Server");
    EXPECT_EQ(page->ui->CB_Fuction1->currentText(), "Enable");
    EXPECT_EQ(page->ui->CB_Fuction2->currentText(), "Enable");
    EXPECT_EQ(page->ui->Ed_IPAF->text(), "192.168.0.100");
    EXPECT_EQ(page->ui->Ed_PoolRan->text(), "20");
    EXPECT_EQ(page->ui->Ed_Lease->text(), "86400");
    EXPECT_EQ(page->ui->CB_Status->currentText(), "ON");
    EXPECT_EQ(page->ui->Ed_ext->text(), sim->address());
    EXPECT_TRUE(page->listingComplete());
    // Every slot in the hidden list, the used ones numbered in the visible one.
    EXPECT_EQ(page->ui->LV_StaticPoolSet->topLevelItemCount(), 8);
    EXPECT_EQ(column(page->ui->User_ListView, 0), (QStringList{"1", "2"}));
    EXPECT_EQ(column(page->ui->User_ListView, 1), (QStringList{"192.168.0.20", "192.168.0.30"}));
    EXPECT_EQ(column(page->ui->User_ListView, 2), (QStringList{"000F3D0000A1", "000F3D0000B2"}));
    // Leases: unused rows left out; the static lease of the slot that is OFF is not handed out.
    EXPECT_EQ(column(page->ui->LV_DynPool, 1), (QStringList{"00112233AA01", "00112233AA03"}));
    EXPECT_EQ(column(page->ui->LV_DynPool, 0), (QStringList{"1", "2"}));
    EXPECT_EQ(column(page->ui->LV_StaticPool, 2), QStringList{"192.168.0.20"});
    for (QWidget* w : std::initializer_list<QWidget*>{page->ui->Bt_Apply, page->ui->StaticApply,
                                                      page->ui->Bt_Cancel, page->ui->Bt_Add})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(page->ui->Bt_Set->isEnabled());
    selectUserRow("192.168.0.30");
    EXPECT_TRUE(page->ui->Bt_Set->isEnabled());
    EXPECT_TRUE(page->ui->Bt_Del->isEnabled());
}

TEST_F(DhcpPage, RefusesToCloseWhileListingButNotAfterAFailedListing) {
    start("recent");
    ASSERT_TRUE(sim->command("delay devMib.2.7.3 400 get"));
    openPage(false);
    EXPECT_FALSE(page->ui->Bt_Cancel->isEnabled());
    page->close();
    EXPECT_TRUE(page->isVisible());
    page->reject();
    EXPECT_TRUE(page->isVisible());
    ASSERT_TRUE(settled());
    page->Bt_CancelClick();
    EXPECT_FALSE(page->isVisible());

    ASSERT_TRUE(sim->command("clear"));
    ASSERT_TRUE(sim->command("error devMib.2.7.3 5 get"));
    openPage(true);
    EXPECT_FALSE(page->listingComplete());
    EXPECT_FALSE(page->ui->Bt_Apply->isEnabled());
    EXPECT_FALSE(page->ui->Bt_Add->isEnabled());
    EXPECT_TRUE(page->ui->Bt_Cancel->isEnabled());
    EXPECT_FALSE(page->ui->StatusBar2->currentMessage().isEmpty());
    page->Bt_CancelClick();
    EXPECT_FALSE(page->isVisible());
}

TEST_F(DhcpPage, DynamicPoolChecksRefuseInOrder) {
    start("recent");
    // The device's own LAN address, which the pool must not cover.
    ASSERT_TRUE(sim->command("set devMib.1.2.2.0 10.9.9.9"));
    openPage();
    struct Case {
        const char* name;
        std::function<void(TFM_DHCP&)> edit;
        const char* message;
        const char* caption;
        QLineEdit* Ui::TFM_DHCP::*cleared; // nullptr: nothing cleared
    };
    const char* rangeMsg = "Please input a number between 1 and 255.";
    const char* leaseMsg = "Please input a number between 60 and 31536000.";
    const Case cases[] = {
        {"no start", [](TFM_DHCP& p) { p.ui->Ed_IPAF->clear(); }, "Please input valid IP address",
         "Warning", nullptr},
        {"no range", [](TFM_DHCP& p) { p.ui->Ed_PoolRan->clear(); }, rangeMsg, "Warning", nullptr},
        {"covers the device",
         [](TFM_DHCP& p) {
             p.ui->Ed_IPAF->setText("10.9.9.5");
             p.ui->Ed_PoolRan->setText("5");
         },
         "Reject: The DHCP dynamic IP pool will cover system IP.", "Warning", nullptr},
        {"covers a static lease",
         [](TFM_DHCP& p) {
             p.ui->Ed_IPAF->setText("192.168.0.25");
             p.ui->Ed_PoolRan->setText("6");
         },
         "Reject: The DHCP dynamic IP pool will cover Static IP.", "Warning", nullptr},
        {"range 0", [](TFM_DHCP& p) { p.ui->Ed_PoolRan->setText("0"); }, rangeMsg, "Error",
         &Ui::TFM_DHCP::Ed_PoolRan},
        {"range 256", [](TFM_DHCP& p) { p.ui->Ed_PoolRan->setText("256"); }, rangeMsg, "Error",
         &Ui::TFM_DHCP::Ed_PoolRan},
        {"range no number", [](TFM_DHCP& p) { p.ui->Ed_PoolRan->setText("1x"); }, rangeMsg, "Error",
         &Ui::TFM_DHCP::Ed_PoolRan},
        {"no lease", [](TFM_DHCP& p) { p.ui->Ed_Lease->clear(); }, leaseMsg, "Warning", nullptr},
        {"lease 59", [](TFM_DHCP& p) { p.ui->Ed_Lease->setText("59"); }, leaseMsg, "Error",
         &Ui::TFM_DHCP::Ed_Lease},
        {"lease a second too long", [](TFM_DHCP& p) { p.ui->Ed_Lease->setText("31536001"); },
         leaseMsg, "Error", &Ui::TFM_DHCP::Ed_Lease},
        {"start no host", [](TFM_DHCP& p) { p.ui->Ed_IPAF->setText("192.168.0.0"); },
         "Please input valid IP address", "Waring", &Ui::TFM_DHCP::Ed_IPAF},
        {"no gateway", [](TFM_DHCP& p) { p.ui->Ed_Gateway->clear(); },
         "Please input valid Gateway.", "Waring", &Ui::TFM_DHCP::Ed_Gateway},
        {"bad wins", [](TFM_DHCP& p) { p.ui->Ed_Wins->setText("1.2.3"); },
         "Please input valid Wins.", "Waring", &Ui::TFM_DHCP::Ed_Wins},
        {"bad dns", [](TFM_DHCP& p) { p.ui->Ed_DNS->setText("300.1.1.1"); },
         "Please input valid DNS.", "Waring", &Ui::TFM_DHCP::Ed_DNS},
        {"mask with a hole", [](TFM_DHCP& p) { p.ui->Ed_SubMask->setText("255.0.255.0"); },
         "Please input valid SubMask.", "Waring", &Ui::TFM_DHCP::Ed_SubMask},
        {"no mask", [](TFM_DHCP& p) { p.ui->Ed_SubMask->clear(); }, "Please input valid SubMask.",
         "Waring", &Ui::TFM_DHCP::Ed_SubMask},
        {"start is the managed address",
         [this](TFM_DHCP& p) { p.ui->Ed_IPAF->setText(sim->address()); },
         "Reject:DHCPS dynamic IP pool will cover system IP", "Waring", &Ui::TFM_DHCP::Ed_IPAF},
    };
    for (const Case& c : cases) {
        page->Bt_RefreshClick(); // the device's values again
        c.edit(*page);
        prompter.shown.clear();
        page->Bt_ApplyClick();
        ASSERT_EQ(prompter.shown.size(), 1) << c.name;
        EXPECT_EQ(prompter.shown[0].text, c.message) << c.name;
        EXPECT_EQ(prompter.shown[0].caption, c.caption) << c.name;
        if (c.cleared) {
            EXPECT_TRUE((page->ui.get()->*c.cleared)->text().isEmpty()) << c.name;
        }
    }
    EXPECT_TRUE(slotSets().isEmpty());
}

TEST_F(DhcpPage, DynamicPoolIsWrittenAfterTheServerFunction) {
    open("recent");
    struct Case {
        const char* lease;
        const char* wins;
        const char* dns;
    };
    // Both ends of the lease time pass; empty WINS and DNS are sent as 0.0.0.0.
    for (const Case& c : {Case{"60", "", ""}, Case{"31536000", "192.168.0.2", "192.168.0.3"}}) {
        sim->clearJournal();
        page->ui->Ed_Lease->setText(c.lease);
        page->ui->Ed_Wins->setText(c.wins);
        page->ui->Ed_DNS->setText(c.dns);
        page->ui->Ed_DomNa->setText("lab.example");
        page->Bt_ApplyClick();
        EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
        const QString wins = *c.wins ? c.wins : "0.0.0.0";
        const QString dns = *c.dns ? c.dns : "0.0.0.0";
        EXPECT_EQ(
            slotSets(),
            (QStringList{
                kFunctionOn,
                QStringList{devMibOid("2.7.2.1.0=192.168.0.100"), devMibOid("2.7.2.2.0=20"),
                            devMibOid("2.7.2.3.0=255.255.255.0"),
                            devMibOid("2.7.2.4.0=192.168.0.1"), devMibOid("2.7.2.5.0=" + wins),
                            devMibOid("2.7.2.6.0=" + dns), devMibOid("2.7.2.7.0=lab.example"),
                            devMibOid("2.7.2.8.0=" + QString(c.lease)), devMibOid("2.7.2.9.0=1")}
                    .join(",")}))
            << c.lease;
    }
    EXPECT_TRUE(waits.seen.isEmpty()); // save-and-activate: no restart here

    // Switched off: only the function is written, and the fields are locked.
    sim->clearJournal();
    page->ui->CB_Fuction1->setCurrentIndex(0);
    page->CB_Fuction1Change();
    EXPECT_EQ(page->ui->CB_Fuction2->currentText(), "Disable");
    EXPECT_FALSE(page->ui->Ed_IPAF->isEnabled());
    EXPECT_FALSE(page->ui->Bt_Add->isEnabled());
    page->ui->Ed_PoolRan->clear(); // not checked while the server is off
    page->Bt_ApplyClick();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(slotSets(), QStringList{devMibOid("2.7.1.0=0")});
}

TEST_F(DhcpPage, WithoutSaveAndActivateTheApplyEndsInTheRestartCountdown) {
    open("early");
    page->StaticApplyClick();
    EXPECT_EQ(slotSets(), (QStringList{kFunctionOn, devMibOid("3.3.5.0=4")}));
    ASSERT_EQ(waits.seen.size(), 1);
    EXPECT_TRUE(waits.seen[0].sendReboot);
    EXPECT_EQ(waits.seen[0].secondsLeft, 25);
}

TEST_F(DhcpPage, AddPutsTheEntryInTheFirstFreeSlotAndListsAgain) {
    open();
    whenDialogShows([](TFM_StaticIP& d) {
        EXPECT_EQ(d.ui->LA_Index->text(), "2"); // slot 1 is used, slot 2 is the first free one
        EXPECT_EQ(d.ui->Ed_AsgIP->text(), "0.0.0.0");
        d.ui->Ed_AsgIP->setText("192.168.0.40");
        d.ui->Ed_AsgMac->setText("000f3d0000c3");
        d.ui->Ed_SubMask->setText("255.255.255.0");
        d.ui->Ed_Gatway->clear();
        d.ui->Ed_Wins->clear();
        d.ui->Ed_DNS->setText("192.168.0.1");
        d.ui->Ed_DomNa->setText("lab");
        d.ui->CB_Stat->setCurrentIndex(d.ui->CB_Stat->findText("ON"));
    });
    page->Bt_AddClick();
    ASSERT_TRUE(dialogShown);
    EXPECT_EQ(dialogTitle, "Static IP Pool Adding");
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_EQ(probe.probed, QStringList{"192.168.0.40"});
    ASSERT_TRUE(settled());
    EXPECT_EQ(slotSets(),
              (QStringList{kFunctionOn, slotSet(2, "192.168.0.40", "000F3D0000C3", "255.255.255.0",
                                                "0.0.0.0", "0.0.0.0", "192.168.0.1", "lab", 1)}));
    EXPECT_TRUE(walkedAfterLastSet());
    EXPECT_EQ(column(page->ui->User_ListView, 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(column(page->ui->User_ListView, 1),
              (QStringList{"192.168.0.20", "192.168.0.40", "192.168.0.30"}));
    ASSERT_EQ(waits.seen.size(), 1);
    EXPECT_EQ(waits.seen[0].label3, "But the device isn't restarting.");
    EXPECT_FALSE(waits.seen[0].sendReboot);
    EXPECT_EQ(waits.seen[0].secondsLeft, 15);
    EXPECT_FALSE(page->poolBusy());
    // The new slot is handed out as a static lease.
    page->Bt_RefreshStaticPoolClick();
    ASSERT_TRUE(settled());
    EXPECT_EQ(column(page->ui->LV_StaticPool, 2), (QStringList{"192.168.0.20", "192.168.0.40"}));
    EXPECT_EQ(column(page->ui->LV_StaticPool, 0), (QStringList{"1", "2"}));
}

TEST_F(DhcpPage, AMacThatHasASlotInOtherLetterCaseIsClearedThenWritten) {
    open();
    whenDialogShows([](TFM_StaticIP& d) {
        d.ui->Ed_AsgIP->setText("192.168.0.41");
        d.ui->Ed_AsgMac->setText("000f3d0000b2"); // slot 3 holds 000F3D0000B2
        d.ui->Ed_SubMask->setText("255.255.255.0");
        d.ui->Ed_Gatway->setText("192.168.0.1");
        d.ui->Ed_Wins->clear();
        d.ui->Ed_DNS->clear();
        d.ui->Ed_DomNa->clear();
        d.ui->CB_Stat->setCurrentIndex(d.ui->CB_Stat->findText("ON"));
    });
    page->Bt_AddClick();
    ASSERT_TRUE(dialogShown);
    ASSERT_TRUE(settled());
    EXPECT_EQ(slotSets(), (QStringList{clearedSlot(3), kFunctionOn,
                                       slotSet(3, "192.168.0.41", "000F3D0000B2", "255.255.255.0",
                                               "192.168.0.1", "0.0.0.0", "0.0.0.0", "", 1)}));
    EXPECT_EQ(column(page->ui->User_ListView, 1), (QStringList{"192.168.0.20", "192.168.0.41"}));
    EXPECT_EQ(sim->value("devMib.2.7.3.1.8.3")["value"].toString(), "1");
}

TEST_F(DhcpPage, AFailedClearingSendsNoEntry) {
    open();
    ASSERT_TRUE(sim->command("error devMib.2.7.3.1.1.3 5 set"));
    whenDialogShows([](TFM_StaticIP& d) {
        d.ui->Ed_AsgIP->setText("192.168.0.41");
        d.ui->Ed_AsgMac->setText("000F3D0000B2");
        for (QLineEdit* e : {d.ui->Ed_SubMask, d.ui->Ed_Gatway, d.ui->Ed_Wins, d.ui->Ed_DNS})
            e->clear();
    });
    page->Bt_AddClick();
    ASSERT_TRUE(settled());
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_EQ(slotSets(), QStringList{clearedSlot(3)});
    EXPECT_FALSE(page->ui->StatusBar2->currentMessage().isEmpty());
    EXPECT_EQ(column(page->ui->User_ListView, 1), (QStringList{"192.168.0.20", "192.168.0.30"}));
}

TEST_F(DhcpPage, AFullPoolTakesNoEntry) {
    start("recent");
    for (int slot : {2, 4, 5, 6, 7, 8})
        ASSERT_TRUE(
            sim->command(QString("set devMib.2.7.3.1.1.%1 192.168.0.%2").arg(slot).arg(50 + slot)));
    openPage();
    EXPECT_EQ(page->ui->User_ListView->topLevelItemCount(), 8);
    whenDialogShows([](TFM_StaticIP&) {});
    page->Bt_AddClick();
    EXPECT_FALSE(dialogShown);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, "The static pool is full!");
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_TRUE(slotSets().isEmpty());
}

TEST_F(DhcpPage, ChangeRewritesTheSlotButRefusesAChangeOfTheMacAlone) {
    open();
    selectUserRow("192.168.0.20");
    whenDialogShows([](TFM_StaticIP& d) {
        EXPECT_EQ(d.ui->Ed_AsgMac->text(), "000F3D0000A1");
        d.ui->Ed_AsgMac->setText("000F3D0000C3");
        d.ui->Ed_DomNa->setText("changed");
    });
    page->Bt_SetClick();
    ASSERT_TRUE(dialogShown);
    EXPECT_EQ(dialogTitle, "Static IP Pool Setting");
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text,
              "Reject: DHCPS static IP already exists in static DHCP server!");
    // The entry as it was.
    EXPECT_EQ(page->staticDialog()->ui->Ed_AsgMac->text(), "000F3D0000A1");
    EXPECT_EQ(page->staticDialog()->ui->Ed_DomNa->text(), "lab");
    EXPECT_TRUE(probe.probed.isEmpty());
    EXPECT_TRUE(slotSets().isEmpty());

    // A new address for the same MAC: probed, the slot cleared, then written.
    prompter.shown.clear();
    dialogShown = false;
    whenDialogShows([](TFM_StaticIP& d) { d.ui->Ed_AsgIP->setText("192.168.0.21"); });
    page->Bt_SetClick();
    ASSERT_TRUE(dialogShown);
    ASSERT_TRUE(settled());
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_EQ(probe.probed, QStringList{"192.168.0.21"});
    EXPECT_EQ(slotSets(),
              (QStringList{clearedSlot(1), kFunctionOn,
                           slotSet(1, "192.168.0.21", "000F3D0000A1", "255.255.255.0",
                                   "192.168.0.1", "0.0.0.0", "192.168.0.1", "lab", 1)}));
    EXPECT_EQ(column(page->ui->User_ListView, 1), (QStringList{"192.168.0.21", "192.168.0.30"}));
}

TEST_F(DhcpPage, StaticEntryChecksRefuseInOrder) {
    open();
    struct Case {
        const char* name;
        const char* ip;
        const char* mac;
        const char* mask;
        const char* gateway;
        const char* message;
        bool probeAnswers = false;
    };
    const Case cases[] = {
        {"address of another slot", "192.168.0.30", "000F3D0000C3", "", "",
         "Reject: The IP has already existed. "},
        {"bad mask", "192.168.0.40", "000F3D0000C3", "255.0.255.0", "",
         "Please input valid SubMask."},
        {"gateway 0.0.0.0", "192.168.0.40", "000F3D0000C3", "", "0.0.0.0",
         "Please input valid Gateway."},
        {"no host address", "192.168.0.255", "000F3D0000C3", "", "",
         "Please input valid IP address"},
        {"address answers", "192.168.0.40", "000F3D0000C3", "", "",
         "Reject: The IP already has been used.", true},
        {"short MAC", "192.168.0.40", "000F3D", "", "", "Please input valid MAC."},
        {"empty MAC", "192.168.0.40", "000000000000", "", "", "Please input valid MAC."},
        {"in the dynamic pool", "192.168.0.119", "000F3D0000C3", "", "",
         "Reject: The IP has already existed in IP Dynamic pool."},
    };
    for (const Case& c : cases) {
        prompter.shown.clear();
        dialogShown = false;
        if (c.probeAnswers)
            probe.outcomes = {platform::ProbeOutcome::InUse};
        whenDialogShows([&c](TFM_StaticIP& d) {
            d.ui->Ed_AsgIP->setText(c.ip);
            d.ui->Ed_AsgMac->setText(c.mac);
            d.ui->Ed_SubMask->setText(c.mask);
            d.ui->Ed_Gatway->setText(c.gateway);
        });
        page->Bt_AddClick();
        ASSERT_TRUE(dialogShown) << c.name;
        ASSERT_EQ(prompter.shown.size(), 1) << c.name;
        EXPECT_EQ(prompter.shown[0].text, c.message) << c.name;
    }
    // The device's own address.
    prompter.shown.clear();
    whenDialogShows([this](TFM_StaticIP& d) {
        d.ui->Ed_AsgIP->setText(sim->address());
        d.ui->Ed_AsgMac->setText("000F3D0000C3");
        d.ui->Ed_SubMask->clear();
        d.ui->Ed_Gatway->clear();
    });
    page->Bt_AddClick();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, "Reject: The IP is the system IP.");
    EXPECT_TRUE(slotSets().isEmpty());
}

TEST_F(DhcpPage, DeleteClearsTheSlotAndListsAgain) {
    open("early");
    selectUserRow("192.168.0.30");
    page->Bt_DelClick();
    ASSERT_TRUE(settled());
    EXPECT_EQ(slotSets(), QStringList{clearedSlot(3)});
    EXPECT_TRUE(walkedAfterLastSet());
    EXPECT_EQ(column(page->ui->User_ListView, 1), QStringList{"192.168.0.20"});
    EXPECT_EQ(column(page->ui->User_ListView, 0), QStringList{"1"});
    ASSERT_EQ(waits.seen.size(), 1);
    EXPECT_EQ(waits.seen[0].label3, "Waiting for listing data...");
    EXPECT_EQ(waits.seen[0].secondsLeft, 20);
    EXPECT_EQ(waits.seen[0].ticksBeforeReboot, 22);

    // Nothing selected: nothing is deleted, and the operator is told.
    sim->clearJournal();
    page->ui->User_ListView->clearSelection();
    page->Bt_DelClick();
    page->Bt_SetClick();
    EXPECT_EQ(prompter.texts(), (QStringList{"No static pool entry matches the selected row.",
                                             "No static pool entry matches the selected row."}));
    EXPECT_TRUE(slotSets().isEmpty());
}

TEST_F(DhcpPage, TheServerFunctionCombosMirrorEachOther) {
    open();
    page->ui->PageControl1->setCurrentWidget(page->ui->TabSheet2);
    page->ui->CB_Fuction2->setCurrentIndex(0);
    page->CB_Fuction2Change();
    EXPECT_EQ(page->ui->CB_Fuction1->currentText(), "Disable");
    EXPECT_FALSE(page->ui->Ed_Lease->isEnabled());
    EXPECT_FALSE(page->ui->Bt_Add->isEnabled());
    EXPECT_FALSE(page->ui->User_ListView->isEnabled());
    page->StaticApplyClick();
    EXPECT_EQ(slotSets(), QStringList{devMibOid("2.7.1.0=0")});

    page->ui->CB_Fuction2->setCurrentIndex(1);
    page->CB_Fuction2Change();
    EXPECT_EQ(page->ui->CB_Fuction1->currentText(), "Enable");
    EXPECT_TRUE(page->ui->Ed_Lease->isEnabled());
    EXPECT_TRUE(page->ui->Bt_Add->isEnabled());
    EXPECT_TRUE(page->ui->User_ListView->isEnabled());
}

} // namespace
