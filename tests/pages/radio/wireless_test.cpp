// The wireless page's radio settings in both layouts: what it reads, the checks of Apply and the
// writes that follow, against the simulated device.
#include "tests/pages/radio/wireless_fixture.h"
#include "tests/support/wait_watcher.h"

#include <QTimer>

namespace {

using test::WirelessPage;

// Devices without multiple SSIDs: SSID, broadcast, channel, frequency and radio only.
TEST_F(WirelessPage, CompactLayoutShowsTheRadioAloneAndWritesItsListsInOrder) {
    open("wireless-compact");
    ASSERT_FALSE(page->fullLayout);
    // The radio rows and the buttons only: the form closes up over the hidden boxes.
    EXPECT_LT(page->height(), 320);
    for (QWidget* w : std::initializer_list<QWidget*>{
             page->ui->CB_AuSc, page->ui->GroupBox1, page->ui->GroupBox2, page->ui->GroupBox3,
             page->ui->GroupBox4, page->ui->Authentication, page->ui->ED_APModeTempComboBox,
             page->ui->ED_ApMode})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{page->ui->Ed_SSIDa, page->ui->CB_SSIDBcasta,
                                                      page->ui->CB_Chana, page->ui->Ed_RaFreqa,
                                                      page->ui->CbxRadio})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_EQ(page->ui->PC_Wirless->tabText(0), "IEEE 802.11g");
    EXPECT_FALSE(page->ui->PC_Wirless->isTabVisible(1));
    EXPECT_EQ(page->ui->Ed_SSIDa->text(), "KW9100");
    EXPECT_EQ(page->ui->CB_Chana->currentText(), "6");
    EXPECT_EQ(page->ui->Ed_RaFreqa->text(), "2.437");
    EXPECT_EQ(page->ui->CbxRadio->currentText(), "On");

    page->ui->Ed_SSIDa->setText("lab-north");
    choose(page->ui->CB_SSIDBcasta, "Disable");
    choose(page->ui->CB_Chana, "11");
    choose(page->ui->CbxRadio, "Off");
    test::WaitWatcher waits;
    page->Bt_ApplyClick();
    EXPECT_TRUE(waits.seen.isEmpty()); // save-and-activate: the operator saves later

    EXPECT_EQ(sets(), (QStringList{mib("1.1.1.1.1=lab-north") + "," + mib("1.1.1.2.1=0") + "," +
                                       mib("1.1.1.3.1=11"),
                                   mib("2.3.1.11.0=4"), mib("2.3.1.12.1=0")}));
    for (const QJsonObject& pdu : sim->requests())
        for (const auto& vb : pdu["varbinds"].toArray())
            EXPECT_FALSE(vb.toObject()["oid"].toString().startsWith(mib("1.1.1.")) &&
                         vb.toObject()["oid"].toString().endsWith(".2"))
                << "instance 2 touched: " << vb.toObject()["oid"].toString().toStdString();
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    // Refreshed after the apply: the frequency follows the new channel.
    EXPECT_EQ(page->ui->Ed_RaFreqa->text(), "2.462");
    EXPECT_EQ(deviceValue("devMib.1.1.1.1.2"), "KW9100-A");
}

struct SsidCase {
    const char* name;
    QString ssid;
    const char* caption; // empty: accepted
    const char* text;
    bool focused;
};

TEST_F(WirelessPage, SsidChecksRefuseBeforeAnythingIsSent) {
    open("wireless-compact");
    const SsidCase cases[] = {
        {"33 characters", QString(33, QLatin1Char('s')), "Warning",
         "The Max Length of SSID is 32.!", false},
        {"empty", "", "Warning", "Please Input SSID.", false},
        {"leading blank", " net", "Error", "The first character can't be blank.", true},
        {"32 characters", QString(32, QLatin1Char('s')), "", "", false},
        {"inner blank", "lab north", "", "", false},
    };
    for (const SsidCase& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        sim->clearJournal();
        page->ui->StatusBar->clearMessage();
        page->ui->Ed_SSIDa->setText(c.ssid);
        page->Bt_ApplyClick();
        if (*c.caption) {
            ASSERT_EQ(prompter.shown.size(), 1);
            EXPECT_EQ(prompter.shown[0].caption, c.caption);
            EXPECT_EQ(prompter.shown[0].text, c.text);
            EXPECT_TRUE(sets().isEmpty());
            EXPECT_EQ(status(), "");
            if (c.focused) {
                EXPECT_EQ(page->focusWidget(), page->ui->Ed_SSIDa);
            }
        } else {
            EXPECT_TRUE(prompter.shown.isEmpty());
            ASSERT_FALSE(sets().isEmpty());
            EXPECT_TRUE(sets()[0].startsWith(mib("1.1.1.1.1=") + c.ssid + ","));
            EXPECT_EQ(deviceValue("devMib.1.1.1.1.1"), c.ssid);
        }
    }
}

// The device refuses the Super G write: the radio was written, nothing after it is.
TEST_F(WirelessPage, ARefusedWriteStopsTheLaterWrites) {
    open("wireless-compact");
    ASSERT_TRUE(sim->command("error devMib.2.3.1.11 5 set"));
    page->ui->Ed_SSIDa->setText("lab-south");
    choose(page->ui->CbxRadio, "Off");
    page->Bt_ApplyClick();
    const QStringList sent = sets();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_TRUE(sent[0].startsWith(mib("1.1.1.1.1=lab-south")));
    EXPECT_EQ(sent[1], mib("2.3.1.11.0=4"));
    EXPECT_EQ(status(), "Setting error!");
    EXPECT_EQ(deviceValue("devMib.2.3.1.12.1"), "1");
    // The refused list reports its own failure.
    EXPECT_EQ(prompter.shown.size(), 1);
}

// The device refuses a channel that is not in its list (here the list changed under the page):
// the failure branch, and the page shows the device's list again.
TEST_F(WirelessPage, ARefusedChannelIsReportedAndTheListIsReadAgain) {
    open("wireless-compact");
    choose(page->ui->CB_Chana, "3");
    ASSERT_TRUE(sim->command("set devMib.1.1.1.4.1 \"1 6 11\""));
    page->Bt_ApplyClick();
    ASSERT_EQ(sets().size(), 1);
    EXPECT_EQ(status(), "Setting error!");
    EXPECT_EQ(deviceValue("devMib.1.1.1.3.1"), "6");
    EXPECT_EQ(items(page->ui->CB_Chana), (QStringList{"1", "6", "11"}));
}

struct ChannelListCase {
    const char* profile;
    QStringList items;
};

TEST_F(WirelessPage, ChannelListsAsDevicesGiveThem) {
    const ChannelListCase cases[] = {
        {"wireless-nochannels", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
        {"wireless-blanks", {"1", "6", "11"}},
    };
    for (const ChannelListCase& c : cases) {
        SCOPED_TRACE(c.profile);
        open(c.profile);
        EXPECT_EQ(items(page->ui->CB_Chana), c.items);
        EXPECT_EQ(page->ui->CB_Chana->currentText(), "6");
        choose(page->ui->CB_Chana, "11");
        page->Bt_ApplyClick();
        ASSERT_FALSE(sets().isEmpty());
        EXPECT_TRUE(sets()[0].contains(mib("1.1.1.3.1=11"))) << sets()[0].toStdString();
        page.reset();
        form.reset();
        sim.reset();
    }
}

// Without save-and-activate the change takes effect by a restart: the wait dialog runs.
TEST_F(WirelessPage, WithoutSaveSupportASuccessfulApplyWaitsForTheRestart) {
    open("early");
    ASSERT_FALSE(page->fullLayout);
    bool waited = false;
    QTimer::singleShot(0, [&] {
        auto* wait = page->findChild<TFM_Waiting*>();
        ASSERT_NE(wait, nullptr);
        waited = true;
        wait->secondsLeft = 1;
    });
    test::WaitWatcher waits;
    page->Bt_ApplyClick();
    EXPECT_TRUE(waited);
    EXPECT_EQ(waits.seen.size(), 1);
    EXPECT_EQ(status(), "Setting Success!");
}

struct SuperGCase {
    const char* mode;
    QStringList channels;
    const char* selected;
};

// The channel list follows the Super G mode; leaving the turbo modes brings back the device's
// list and the channel last chosen.
TEST_F(WirelessPage, SuperGModesHaveTheirOwnChannels) {
    open("wireless-compact", {{"Ed_Rogue", "0"}});
    choose(page->ui->CB_Chana, "9");
    const SuperGCase cases[] = {
        {"Super G with Static Turbo", {"2", "3", "4", "5", "6", "7", "8", "9", "10"}, "6"},
        {"Super G with Dynamic Turbo", {"6"}, "6"},
        {"Disable", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, "9"},
    };
    for (const SuperGCase& c : cases) {
        SCOPED_TRACE(c.mode);
        choose(page->ui->AD_SuperMode, c.mode);
        EXPECT_EQ(items(page->ui->CB_Chana), c.channels);
        EXPECT_EQ(page->ui->CB_Chana->currentText(), c.selected);
    }
}

} // namespace
