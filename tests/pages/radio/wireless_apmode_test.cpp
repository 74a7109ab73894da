// The AP mode of the wireless page (full layout): the selector by capability mask, the values each
// mode writes with its remote access points, the address checks, and the site survey.
#include "platform/events.h"
#include "tables/wireless.h"
#include "tests/pages/radio/wireless_fixture.h"
#include "tests/support/accessible_tree.h"

#include <QElapsedTimer>
#include <QPushButton>

namespace {

using test::WirelessPage;

QString macs(const QString& first, const QString& rest) {
    QStringList out;
    for (int i = 1; i <= 8; ++i)
        out << test::devMibOid(QStringLiteral("2.2.1.2.1.%1=").arg(i)) + (i == 1 ? first : rest);
    return out.join(",");
}

struct MaskCase {
    const char* mask;
    QStringList items;
};

TEST_F(WirelessPage, TheModeSelectorOffersWhatTheCapabilityMaskAllows) {
    start("recent");
    settleFlags();
    const MaskCase cases[] = {
        {"31", {"Access Point", "PtP Bridge", "AP Repeater", "AP Client"}},
        {"127", {"Access Point", "WDS with AP", "WDS", "AP Repeater", "AP Client"}},
        {"16", {"Access Point"}},
        {"3", {"AP Repeater", "AP Client"}},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.mask);
        form->flagEdit("APModeSupport")->setText(c.mask);
        reopen();
        EXPECT_EQ(items(page->ui->ED_APModeTempComboBox), c.items);
    }
}

struct ModeCase {
    const char* name;
    const char* mask;
    const char* choice;
    QString firstMac;
    int modeWritten;
    QString macsWritten; // empty: no address written
};

// What each choice writes: the device mode behind the visible name, and the remote addresses
// the mode uses (the SSID with them).
TEST_F(WirelessPage, EachModeWritesItsDeviceModeAndItsRemoteAddresses) {
    const ModeCase cases[] = {
        {"WDS with AP", "127", "WDS with AP", "000f3d0a0b01", 3,
         macs("000F3D0A0B01", "000000000000")},
        {"WDS", "127", "WDS", "000F3D0A0B02", 7, macs("000F3D0A0B02", "000000000000")},
        {"point to point on an older mask", "31", "PtP Bridge", "000F3D0A0B03", 2,
         test::devMibOid("2.2.1.2.1.1=000F3D0A0B03")},
        {"access point", "127", "Access Point", "", 1, ""},
    };
    start("recent");
    settleFlags();
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        form->flagEdit("APModeSupport")->setText(c.mask);
        reopen();
        choose(page->ui->ED_APModeTempComboBox, c.choice);
        page->Ed_ReMAddra[0]->setText(c.firstMac);
        prompter.shown.clear();
        page->Bt_ApplyClick();
        EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
        const QStringList writes = sent();
        ASSERT_GE(writes.size(), 3);
        EXPECT_TRUE(writes[0].startsWith(mib("1.1.1.1.1=KW9100,"))) << writes[0].toStdString();
        const QString apList = mib(QStringLiteral("2.1.1.1.1=%1").arg(c.modeWritten)) +
                               (c.macsWritten.isEmpty() ? QString() : "," + c.macsWritten);
        EXPECT_EQ(writes[2], apList);
        EXPECT_EQ(status(), "Setting Success!");
        EXPECT_EQ(deviceValue("devMib.2.1.1.1.1"), QString::number(c.modeWritten));
        // The device mode shows under its name again, and zero addresses as empty fields.
        EXPECT_EQ(page->ui->ED_APModeTempComboBox->currentText(), c.choice);
        EXPECT_EQ(page->Ed_ReMAddra[1]->text(), "");
        sim->command("set devMib.2.1.1.1.1 1");
    }
}

struct AddressCase {
    const char* name;
    const char* choice;
    QStringList remote; // Ed_ReMAddra0..
    QString root;
    QString clientSsid;
    const char* caption;
    QString message;
};

TEST_F(WirelessPage, RemoteAddressChecksRefuseBeforeAnythingIsSent) {
    const AddressCase cases[] = {
        {"bridge without a first address",
         "WDS with AP",
         {"", "000F3D0A0B01"},
         "",
         "",
         "Warning",
         "Please input MAC address in first blank space!"},
        {"multipoint address too short",
         "WDS",
         {"000F3D0A0B01", "000F3D0A0B"},
         "",
         "",
         "Error",
         "The length is 12 in IEEE802.11g MAC address."},
        {"same address apart from case",
         "WDS",
         {"000f3d0a0b01", "000F3D0A0B01"},
         "",
         "",
         "Warning",
         "Exist same MAC address."},
        {"repeater without root",
         "AP Repeater",
         {},
         "",
         "",
         "Error",
         "Please input MAC address in blank space!"},
        {"repeater root too short",
         "AP Repeater",
         {},
         "000F3D",
         "",
         "Error",
         "The length is 12 in IEEE802.11g Root AP MAC Address."},
        {"client without SSID", "AP Client", {}, "", "", "Warning", "Please input the SSID."},
        {"client SSID with a leading blank",
         "AP Client",
         {},
         "",
         " root",
         "Error",
         "The first character can't be blank."},
    };
    open("recent");
    for (const AddressCase& c : cases) {
        SCOPED_TRACE(c.name);
        reopen();
        choose(page->ui->ED_APModeTempComboBox, c.choice);
        for (int i = 0; i < c.remote.size(); ++i)
            page->Ed_ReMAddra[i]->setText(c.remote[i]);
        page->ui->Ed_RoMAddra0->setText(c.root);
        page->ui->Ed_SSID->setText(c.clientSsid);
        prompter.shown.clear();
        page->Bt_ApplyClick();
        ASSERT_EQ(prompter.shown.size(), 1) << prompter.texts().join("; ").toStdString();
        EXPECT_EQ(prompter.shown[0].caption, c.caption);
        EXPECT_EQ(prompter.shown[0].text, c.message);
        EXPECT_TRUE(sets().isEmpty()) << sets().join(" | ").toStdString();
    }
}

// Repeater and client: the root address and the SSID are checked but no object carries them,
// and the primary SSID is not written in these modes.
TEST_F(WirelessPage, RepeaterModeWritesTheModeAlone) {
    open("recent");
    choose(page->ui->ED_APModeTempComboBox, "AP Repeater");
    EXPECT_FALSE(page->ui->Ed_SSIDa->isVisible());
    EXPECT_TRUE(page->ui->GroupBox2->isVisible());
    EXPECT_EQ(page->ui->GroupBox2->title(), " AP Repeater ");
    EXPECT_FALSE(page->ui->CB_AuSc->isEnabled());
    page->ui->Ed_RoMAddra0->setText("000F3D0A0B01");
    page->Bt_ApplyClick();
    const QStringList sent = sets();
    ASSERT_GE(sent.size(), 3);
    EXPECT_FALSE(sent[0].contains(mib("1.1.1.1.1="))) << sent[0].toStdString();
    EXPECT_EQ(sent[2], mib("2.1.1.1.1=4"));
    EXPECT_FALSE(sent.join("|").contains(mib("2.2.1.2.1."))); // no remote address either
    EXPECT_EQ(status(), "Setting Success!");
}

TEST_F(WirelessPage, SiteSurveyListsTheWdsNeighboursNumberedAndHoldsThePageOpen) {
    open("recent");
    choose(page->ui->ED_APModeTempComboBox, "WDS");
    ASSERT_TRUE(page->ui->GroupBox3->isVisible());
    page->SiteScanClick();
    EXPECT_FALSE(page->surveyIdle);
    EXPECT_FALSE(page->ui->SiteScan->isEnabled());
    EXPECT_EQ(page->StatusPanel->text(), "Scan...");
    // The device scans for a while: closing is refused meanwhile, other requests are answered.
    page->close();
    EXPECT_TRUE(page->isVisible());
    QElapsedTimer clock;
    clock.start();
    while (!page->surveyIdle && clock.elapsed() < 10000)
        platform::processPendingEvents();
    ASSERT_TRUE(page->surveyIdle);
    EXPECT_TRUE(page->ui->SiteScan->isEnabled());
    EXPECT_EQ(page->StatusPanel->text(), "Get complete.");
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_EQ(sets(), QStringList{mib("2.8.1.1.1.0=1")});

    QTreeWidget* list = page->ui->SiteServeyListView;
    ASSERT_EQ(list->topLevelItemCount(), 3); // the neighbour without WDS is left out
    const QStringList ssids = {"north-wing", "south-wing", "lab"};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(list->topLevelItem(r)->text(0), QString::number(r + 1));
        EXPECT_EQ(list->topLevelItem(r)->text(6), ssids[r]);
    }
    // The row's index and the WDS flag are the page's, not the operator's: out of sight, and
    // not announced either.
    for (const int hidden : {0, tables::wireless::kSurveySupportWds}) {
        EXPECT_TRUE(list->isColumnHidden(hidden)) << hidden;
        EXPECT_FALSE(test::findAccessible(page.get(), QAccessible::ColumnHeader,
                                          list->headerItem()->text(hidden))
                         .showing)
            << hidden;
    }
    EXPECT_EQ(list->headerItem()->text(4), " BSSID");
    EXPECT_TRUE(test::findAccessible(page.get(), QAccessible::ColumnHeader, " BSSID").showing);

    // A click copies the BSSID into the first free remote address, once.
    page->Ed_ReMAddra[0]->setText("000F3D0A0B09");
    list->setCurrentItem(list->topLevelItem(1));
    page->SiteServeyListViewClick();
    EXPECT_EQ(page->Ed_ReMAddra[1]->text(), "000F3D0A0B02");
    page->SiteServeyListViewClick();
    EXPECT_EQ(prompter.texts(), QStringList{"The same MAC address has been added!"});
    EXPECT_EQ(page->Ed_ReMAddra[2]->text(), "");

    page->close();
    EXPECT_FALSE(page->isVisible());
}

TEST_F(WirelessPage, ASurveyTriggerThatFailsEndsTheScan) {
    open("recent");
    choose(page->ui->ED_APModeTempComboBox, "WDS");
    ASSERT_TRUE(sim->command("error devMib.2.8.1.1.1 5 set"));
    page->SiteScanClick();
    QElapsedTimer clock;
    clock.start();
    while (!page->surveyIdle && clock.elapsed() < 10000)
        platform::processPendingEvents();
    ASSERT_TRUE(page->surveyIdle);
    EXPECT_TRUE(page->ui->SiteScan->isEnabled());
    EXPECT_TRUE(page->StatusPanel->text().startsWith("Site survey : "))
        << page->StatusPanel->text().toStdString();
    EXPECT_EQ(page->ui->SiteServeyListView->topLevelItemCount(), 0);
    page->close();
    EXPECT_FALSE(page->isVisible());
}

// With some masks the items move up the list: the layout and the checks follow what the item
// means, and a device in a bridge mode finds its own label selected.
TEST_F(WirelessPage, ModesFollowTheirMeaningWhereverTheyStandInTheList) {
    start("recent");
    settleFlags();
    form->flagEdit("APModeSupport")->setText("19"); // access point, repeater, client
    reopen();
    ASSERT_EQ(items(page->ui->ED_APModeTempComboBox),
              (QStringList{"Access Point", "AP Repeater", "AP Client"}));
    choose(page->ui->ED_APModeTempComboBox, "AP Repeater"); // second in this list
    EXPECT_TRUE(page->ui->GroupBox2->isVisible());
    EXPECT_FALSE(page->ui->GroupBox1->isVisible());
    EXPECT_EQ(page->ui->ED_APModeComboBox->currentText(), "AP Repeater");
    page->ui->Ed_RoMAddra0->setText("");
    prompter.shown.clear();
    page->Bt_ApplyClick();
    EXPECT_EQ(prompter.texts(), QStringList{"Please input MAC address in blank space!"});

    ASSERT_TRUE(sim->command("set devMib.2.1.1.1.1 2")); // PtP Bridge
    ASSERT_TRUE(sim->command("define devMib.2.2.1.2.1.1 hex rw 000F3D0A0B07 size=6"));
    form->flagEdit("APModeSupport")->setText("31");
    reopen();
    EXPECT_EQ(page->ui->ED_APModeTempComboBox->currentText(), "PtP Bridge");
    EXPECT_TRUE(page->ui->GroupBox1->isVisible());
    prompter.shown.clear();
    page->Bt_ApplyClick();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    const QStringList writes = sent();
    ASSERT_GE(writes.size(), 3);
    EXPECT_EQ(writes[2], mib("2.1.1.1.1=2,") + mib("2.2.1.2.1.1=000F3D0A0B07"));
}

// A bridge link carries only the security a bridge can use: the device's Enterprise type is
// written back as Open System.
TEST_F(WirelessPage, BridgeModesFallBackToOpenSystem) {
    start("recent");
    settleFlags();
    ASSERT_TRUE(sim->command("set devMib.2.1.1.1.1 3"));   // PtMP Bridge
    ASSERT_TRUE(sim->command("set devMib.2.5.1.1.1.1 7")); // WPA2-Enterprise
    ASSERT_TRUE(sim->command("define devMib.2.2.1.2.1.1 hex rw 000F3D0A0B07 size=6"));
    reopen();
    EXPECT_EQ(page->ui->ED_APModeTempComboBox->currentText(), "WDS with AP");
    EXPECT_EQ(items(page->ui->Ed_SecAuthaTemp),
              (QStringList{"Open System", "Shared Key", "Open System / Shared Key", "WPA-Personal",
                           "WPA2-Personal", "WPA-Auto-Personal"}));
    page->Bt_ApplyClick();
    EXPECT_TRUE(sets().contains(mib("2.5.1.1.1.1=1,") + mib("2.5.1.1.2.1=0")))
        << sent().join(" | ").toStdString();
    EXPECT_EQ(deviceValue("devMib.2.5.1.1.1.1"), "1");
}

} // namespace
