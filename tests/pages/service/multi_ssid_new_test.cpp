// The multi-SSID and VLAN page of current firmware against the simulated device: which page and
// which SSID columns the capabilities choose, key entry, SSID checks (nothing is written before
// every check has passed), what a save of the primary or an additional SSID sends, delete, the
// order of Apply's writes with the management VLAN, and when the page may close.
#include "app/menu_rules.h"
#include "pages/service/multi_ssid_new.h"
#include "tests/support/page_window.h"

#include <QComboBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

using test::devMibOid;

// One cell of the SSID table (column arc, SSID number 1..8) as "oid=value".
QString cell(int column, int ssid, const QString& value) {
    return devMibOid(QStringLiteral("2.9.2.1.%1.1.%2=%3").arg(column).arg(ssid).arg(value));
}
QString cellOid(int column, int ssid) {
    return QStringLiteral("devMib.2.9.2.1.%1.1.%2").arg(column).arg(ssid);
}
const QString kPriorityOff = devMibOid("2.9.4.1.1.1=0");
const QString kMultiOn = devMibOid("2.9.3.1.1.0=1");
const QString kVlanOff = devMibOid("2.9.1.1.1.0=0");
const QString kVlanOn = devMibOid("2.9.1.1.1.0=1");

class MultiSsidNewPage : public test::PageWindow<TFM_MultiSSIDNewForm> {
protected:
    // The page on `profile`, after the device was brought into a state by control commands.
    void open(const QString& profile = "recent", const QStringList& commands = {}) {
        openOn(profile, commands);
    }
    // Multiple SSIDs on (and VLAN tagging when `vlan`), as the device holds them.
    static QStringList enabled(bool vlan = false) {
        QStringList c{"set devMib.2.9.3.1.1.0 1"};
        if (vlan)
            c << "set devMib.2.9.1.1.1.0 1";
        return c;
    }
    void selectSsid(int n) {
        page->ui->CB_Idx->setCurrentIndex(n);
        emit page->ui->CB_Idx->activated(n);
    }
    // The operator's choice in a drop-down list.
    static void choose(QComboBox* combo, const QString& text) {
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    // The security selector the page shows.
    QComboBox* security() const {
        return page->ui->CB_Sec->isHidden() ? page->ui->CB_SecShow : page->ui->CB_Sec;
    }
    void enterWepKey(const QString& type, const QString& size, const QString& key) {
        choose(security(), "Open System");
        choose(page->ui->CB_KeyType, type);
        choose(page->ui->CB_KeySize, size);
        page->ui->Ed_KeyValue->setText(key);
    }
    // Save, then wait for its row write and the walk that follows.
    void save() {
        page->ui->SaveButton->click();
        ASSERT_TRUE(settled());
    }
    QStringList userColumn(int c) const {
        QStringList out;
        for (int i = 0; i < page->ui->LV_MultiSSID_User->topLevelItemCount(); ++i)
            out << page->ui->LV_MultiSSID_User->topLevelItem(i)->text(c);
        return out;
    }
    QString status() const { return page->ui->StatusBar1->currentMessage(); }
};

TEST_F(MultiSsidNewPage, CapabilitiesChooseThePageItsColumnsAndControls) {
    struct Case {
        const char* profile;
        const char* page;
        int columns;
        bool dynamicVlan, priority, broadcast, wmm;
    };
    // Dynamic VLAN alone still needs the long table: the short one has no column for it.
    const Case cases[] = {
        {"recent", "TFM_MultiSSIDNewForm", 18, true, true, true, true},
        {"multissid-dyvlan", "TFM_MultiSSIDNewForm", 18, true, false, true, true},
        {"multissid-priority", "TFM_MultiSSIDNewForm", 18, false, true, true, true},
        {"multissid-basic", "TFM_MultiSSIDNewForm", 15, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        // VLAN on: without it the editor shows every SSID's VLAN as manual.
        QStringList device = enabled(true);
        if (c.dynamicVlan)
            device << "set " + cellOid(19, 2) + " 2";
        if (c.priority)
            device << "set " + cellOid(21, 2) + " 6";
        open(c.profile, device);
        EXPECT_EQ(app::multiSsidPage(flag("NewMultiSupport")), c.page);
        EXPECT_EQ(page->windowTitle(), "Advanced \\ Multi-SSID");
        EXPECT_EQ(page->ssidColumns(), c.columns);
        EXPECT_EQ(page->ui->MulSSIDListView->topLevelItemCount(), 8);
        EXPECT_EQ(status(), "Get OK!");
        EXPECT_EQ(page->ui->BandComboBox->currentText(), "IEEE 802.11g");
        EXPECT_FALSE(page->ui->BandComboBox->isEnabled());
        EXPECT_EQ(page->ui->CB_DyVlan->isHidden(), !c.dynamicVlan);
        EXPECT_EQ(page->ui->Label_VlanTag->isHidden(), !c.dynamicVlan);
        EXPECT_EQ(page->ui->Cb_Priority->isHidden(), !c.priority);
        EXPECT_EQ(page->ui->CheckBox_EthernetTag->isHidden(), !c.priority);
        EXPECT_EQ(page->ui->CheckBox_Priority->isHidden(), !c.priority);
        EXPECT_EQ(page->ui->CB_Broadcast->isHidden(), !c.broadcast);
        EXPECT_EQ(page->ui->CB_WMM->isHidden(), !c.wmm);
        EXPECT_TRUE(prompter.shown.isEmpty());
        selectSsid(1);
        EXPECT_EQ(page->ui->Ed_SSID->text(), "Guest-2");
        if (c.dynamicVlan) {
            EXPECT_EQ(page->ui->CB_DyVlan->currentText(), "Dynamic");
        }
        if (c.priority) {
            EXPECT_EQ(page->ui->Cb_Priority->currentText(), "6");
        }
        page.reset();
        form.reset();
        sim.reset();
    }
    start("multissid-early");
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return !form->probing(); }, 8000));
    EXPECT_EQ(app::multiSsidPage(flag("NewMultiSupport")), "TFM_MultiSSIDForm");
}

TEST_F(MultiSsidNewPage, OpensWithTheDeviceStateAndListsTheEnabledSsids) {
    open("recent", enabled(true) << "set " + cellOid(2, 3) + " 1"
                                 << "set " + cellOid(5, 3) + " 1"
                                 << "set " + cellOid(7, 3) + " 0123456789"
                                 << "set " + cellOid(2, 5) + " 1"
                                 << "set " + cellOid(4, 5) + " 6"
                                 << "set " + cellOid(5, 5) + " 1");
    EXPECT_TRUE(page->ui->IfEnabMuSSID->isChecked());
    EXPECT_TRUE(page->ui->CB_VLanState->isChecked());
    // VLAN tagging needs multiple SSIDs: the switch is held on.
    EXPECT_FALSE(page->ui->IfEnabMuSSID->isEnabled());
    EXPECT_EQ(userColumn(0), (QStringList{"Primary", "Multi-SSID2", "Multi-SSID4"}));
    EXPECT_EQ(userColumn(1), (QStringList{"KW9100", "Lab-3", "Ssid-5"}));
    EXPECT_EQ(userColumn(2), (QStringList{"OFF", "WEP", "WPA2-Personal"}));
    EXPECT_EQ(userColumn(3), (QStringList{"1", "3", "5"}));
    EXPECT_EQ(userColumn(4), (QStringList{"11g", "11g", "11g"}));
    // The primary SSID's name and security are the wireless page's.
    EXPECT_FALSE(page->ui->Ed_SSID->isEnabled());
    EXPECT_TRUE(page->ui->Ed_WLANID->isEnabled());
    EXPECT_EQ(page->ui->Ed_GrpKey->text(), "3600");
    // Keys, pass phrases and secrets are never shown in clear.
    for (QLineEdit* e : {page->ui->Ed_KeyValue, page->ui->Ed_PassPhrase, page->ui->Ed_RadiusSec})
        EXPECT_EQ(e->echoMode(), QLineEdit::Password) << e->objectName().toStdString();
    // The device masks the stored key: shown as read, never decoded.
    selectSsid(2);
    EXPECT_EQ(page->ui->Ed_KeyValue->text(), "**********");
    EXPECT_EQ(page->ui->CB_KeySize->currentText(), "64 Bits");
    EXPECT_EQ(security()->currentText(), "Open System");

    // Switching VLAN tagging off releases the multi-SSID switch.
    page->ui->CB_VLanState->setChecked(false);
    EXPECT_TRUE(page->ui->IfEnabMuSSID->isEnabled());
    page->ui->CB_VLanState->setChecked(true);
    EXPECT_FALSE(page->ui->IfEnabMuSSID->isEnabled());
}

// Switching multiple SSIDs on tells the operator what the device will give up for them: Super G,
// and an AP mode other than Access Point (bridge modes stay where the device runs both together).
TEST_F(MultiSsidNewPage, SwitchingOnWarnsWhatTheDeviceGivesUp) {
    const QString superG = "If you enable Multi-SSID,Super G will be Disabled!";
    const QString apMode = "If you enable Multi-SSID,AP Mode will be Access Point!";
    const QString both =
        "If you enable Multi-SSID,\nAP Mode will be Access Point and Super G will be Disabled!";
    const struct {
        int apMode;          // 1 Access Point, 2 PtP Bridge, 3 PtMP Bridge, 4 AP Repeater
        int superMode;       // radio 0's, read through a mirror; 4 Disable
        const char* withWds; // capability: multiple SSIDs together with the bridge modes
        QStringList shown;
    } cases[] = {
        {1, 4, "1", {}}, {1, 1, "1", {superG}}, {2, 4, "0", {apMode}}, {2, 3, "0", {both}},
        {3, 4, "1", {}}, {3, 2, "1", {superG}}, {4, 4, "1", {apMode}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.apMode << " " << c.superMode << " " << c.withWds);
        start("recent");
        form->flagEdit("Ed_MssidAndWdssupport")->setText(c.withWds);
        reopenPage({QStringLiteral("set devMib.2.1.1.1.1 %1").arg(c.apMode),
                    QStringLiteral("set devMib.2.3.1.11.0 %1").arg(c.superMode)});
        ASSERT_FALSE(page->ui->IfEnabMuSSID->isChecked());
        page->ui->IfEnabMuSSID->click();
        EXPECT_EQ(prompter.texts(), c.shown);
        // Once per switching on.
        page->ui->IfEnabMuSSID->click();
        prompter.shown.clear();
        page->ui->IfEnabMuSSID->click();
        EXPECT_EQ(prompter.texts(), c.shown);
        page.reset();
        form.reset();
        sim.reset();
    }
}

TEST_F(MultiSsidNewPage, SecuritySelectorStaysUsableForAdditionalSsidsOnEveryDevice) {
    for (const char* profile : {"multissid-basic", "recent"}) {
        SCOPED_TRACE(profile);
        open(profile, enabled());
        selectSsid(3);
        EXPECT_FALSE(page->ui->CB_SecShow->isHidden());
        EXPECT_TRUE(page->ui->CB_SecShow->isEnabled());
        choose(page->ui->CB_SecShow, "WPA-Personal");
        EXPECT_FALSE(page->ui->GP_PSK->isHidden());
        EXPECT_EQ(page->ui->GP_PSK->title(), "PassPhrase Settings");
        EXPECT_TRUE(page->ui->GP_KeySetting->isHidden());
        EXPECT_FALSE(page->ui->Ed_PassPhrase->isHidden());
        EXPECT_TRUE(page->ui->Ed_RiduisServ->isHidden());
        selectSsid(0);
        EXPECT_FALSE(page->ui->CB_SecShow->isEnabled());
        page.reset();
        form.reset();
        sim.reset();
    }
}

TEST_F(MultiSsidNewPage, WepKeyEntryIsCheckedAndSentAsHexDigits) {
    struct Case {
        const char* type;
        const char* size;
        QString key;
        QStringList sentKey; // the key and key type varbinds; empty when the key is not sent
        const char* message; // the refusal, or nothing
        const char* fieldAfter;
    };
    const Case cases[] = {
        {"ASCII", "64 Bits", "abcde", {cell(7, 2, "6162636465"), cell(13, 2, "1")}, "", ""},
        {"ASCII",
         "152 Bits",
         "ABCDEFGHIJKLMNOP",
         {cell(7, 2, "4142434445464748494a4b4c4d4e4f50"), cell(13, 2, "1")},
         "",
         ""},
        {"HEX",
         "128 Bits",
         "0123456789abcdef0123456789",
         {cell(7, 2, "0123456789abcdef0123456789"), cell(13, 2, "2")},
         "",
         ""},
        {"ASCII", "64 Bits", "abc", {}, "The Length of key value must be 5!", "abc"},
        {"ASCII", "152 Bits", "abc", {}, "The Lengh of key value must be 16!", "abc"},
        {"HEX", "64 Bits", "0123", {}, "The Length of key value must be 10!", "0123"},
        {"HEX", "64 Bits", "01234567zz", {}, "Please input  Hexadecimal digits!", ""},
        // A character beyond one byte has no hexadecimal form.
        {"ASCII",
         "64 Bits",
         QString("abcd") + QChar(0x0100),
         {},
         "Please input  Hexadecimal digits!",
         ""},
    };
    open("recent", enabled());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        sim->clearJournal();
        prompter.shown.clear();
        selectSsid(1);
        enterWepKey(c.type, c.size, c.key);
        save();
        if (c.sentKey.isEmpty()) {
            ASSERT_EQ(prompter.texts(), QStringList{c.message});
            EXPECT_EQ(prompter.shown.first().caption,
                      QString(c.message).startsWith("Please") ? "" : "Warning");
            EXPECT_TRUE(sets().isEmpty()) << sets().join("\n").toStdString();
            EXPECT_EQ(page->ui->Ed_KeyValue->text(), c.fieldAfter);
            continue;
        }
        EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
        const QStringList written = sets();
        ASSERT_FALSE(written.isEmpty());
        for (const QString& binding : c.sentKey)
            EXPECT_TRUE(written.last().contains(binding)) << written.last().toStdString();
        EXPECT_TRUE(written.last().contains(cell(6, 2, "1"))); // key index "First"
        EXPECT_EQ(status(), "Get OK!");
    }
}

TEST_F(MultiSsidNewPage, AMaskedKeyIsNeitherDecodedNorSentOnlyItsIndex) {
    // The device holds an ASCII key ("abcde") and answers it masked.
    open("recent", enabled() << "set " + cellOid(2, 2) + " 1"
                             << "set " + cellOid(5, 2) + " 1"
                             << "set " + cellOid(7, 2) + " 6162636465"
                             << "set " + cellOid(13, 2) + " 1");
    selectSsid(1);
    EXPECT_EQ(page->ui->CB_KeyType->currentText(), "ASCII");
    EXPECT_EQ(page->ui->Ed_KeyValue->text(), "*****");
    choose(page->ui->CB_IdxTmp, "Fourth");
    save();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    const QStringList written = sets();
    ASSERT_FALSE(written.isEmpty());
    EXPECT_TRUE(written.last().contains(cell(6, 2, "4")));
    EXPECT_FALSE(written.last().contains(devMibOid("2.9.2.1.7.")));
    EXPECT_FALSE(written.last().contains(devMibOid("2.9.2.1.13.")));
    ASSERT_TRUE(sim->command("get " + cellOid(7, 2)));
    EXPECT_TRUE(sim->control("get " + cellOid(7, 2)).contains("6162636465"));
}

TEST_F(MultiSsidNewPage, AFailedRowWriteLeavesTheTypedKeySoARetryPassesTheSameChecks) {
    open("recent", enabled());
    selectSsid(1);
    enterWepKey("ASCII", "64 Bits", "abcde");
    ASSERT_TRUE(sim->command("error devMib.2.9.2.1 5 set"));
    save();
    EXPECT_EQ(page->ui->Ed_KeyValue->text(), "abcde");
    ASSERT_TRUE(sim->command("clear"));
    sim->clearJournal();
    save();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    ASSERT_EQ(sets().size(), 4); // priority, multi-SSID and VLAN states, then the row
    EXPECT_TRUE(sets().last().contains(cell(7, 2, "6162636465")));
}

TEST_F(MultiSsidNewPage, SsidChecksRefuseBeforeAnythingIsWritten) {
    struct Case {
        QString ssid;
        const char* message; // empty: accepted
    };
    // Rows: "KW9100" primary; "Lab-3" (SSID 3) enabled; "Ssid-5" disabled.
    const Case cases[] = {
        {"", "Please input SSID!"},
        {" guest", "The first character can't be blank!"},
        {QString(33, 'x'), "The Max Length of SSID is 32!"},
        {"KW9100", "The 11g Multi-SSID 1's SSID is same as Primary SSID"},
        {"Lab-3", "The 11g Multi-SSID 1's SSID is same as Multi-SSID 2"},
        {"Ssid-5", ""},
        {QString(32, 'x'), ""},
    };
    open("recent", enabled() << "set " + cellOid(2, 3) + " 1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ssid.toStdString());
        sim->clearJournal();
        prompter.shown.clear();
        selectSsid(1);
        page->ui->Ed_SSID->setText(c.ssid);
        save();
        if (QString(c.message).isEmpty()) {
            EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
            ASSERT_FALSE(sets().isEmpty());
            EXPECT_TRUE(sets().last().contains(cell(3, 2, c.ssid)));
            EXPECT_TRUE(sets().last().contains(cell(2, 2, "1")));
            continue;
        }
        EXPECT_EQ(prompter.texts(), QStringList{c.message});
        // Not even the priority switch went before the checks.
        EXPECT_TRUE(sets().isEmpty()) << sets().join("\n").toStdString();
    }
}

TEST_F(MultiSsidNewPage, PrimarySaveSendsOnlyItsVlanAndPriorityColumns) {
    open("recent", enabled(true));
    selectSsid(0);
    page->ui->Ed_WLANID->setText("42");
    page->ui->CheckBox_Priority->setChecked(true);
    choose(page->ui->Cb_Priority, "5");
    page->ui->CheckBox_EthernetTag->setChecked(true);
    save();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_EQ(sets(), (QStringList{devMibOid("2.9.4.1.1.1=1"), kMultiOn, kVlanOn,
                                   QStringList{cell(8, 1, "42"), cell(19, 1, "1"), cell(20, 1, "1"),
                                               cell(21, 1, "5")}
                                       .join(",")}));
}

TEST_F(MultiSsidNewPage, AdditionalSsidSaveWritesItsRowAndTheSharedSettings) {
    open("recent", enabled() << "set " + cellOid(2, 4) + " 1"
                             << "set " + cellOid(5, 4) + " 1"
                             << "set " + cellOid(6, 4) + " 2");
    selectSsid(1);
    page->ui->Ed_SSID->setText("Visitors");
    choose(security(), "WPA-Personal");
    page->ui->Ed_PassPhrase->setText("long enough");
    page->ui->Ed_GrpKey->setText("7200");
    save();
    // Another SSID uses WEP key slot "Second": it loses its security, and says so.
    EXPECT_EQ(prompter.texts(),
              QStringList{"WPA-Enterprise or WPA-Personal will use second and third key slot "
                          ".\nOther Multiple SSID which uses second and third key for WEP will be "
                          "set to no security."});
    // The group key interval is radio 1's, as the wireless and encryption pages use it.
    const QStringList written = sets();
    ASSERT_EQ(written.size(), 5);
    EXPECT_EQ(written.mid(0, 4),
              (QStringList{kPriorityOff, kMultiOn, kVlanOff, devMibOid("2.5.1.1.6.1=7200")}));
    EXPECT_EQ(written[4],
              QStringList({cell(3, 2, "Visitors"), cell(2, 2, "1"), cell(4, 2, "4"),
                           cell(5, 2, "1"), cell(8, 2, "2"), cell(11, 2, "1"),
                           cell(12, 2, "long enough"), cell(15, 2, "0"), cell(14, 2, "0"),
                           cell(18, 2, "0"), cell(19, 2, "1"), cell(20, 2, "0"), cell(21, 2, "0")})
                  .join(","));
    EXPECT_EQ(userColumn(1), (QStringList{"KW9100", "Visitors", "Ssid-4"}));
    EXPECT_EQ(userColumn(2), (QStringList{"OFF", "WPA-Personal", "WEP"}));
}

TEST_F(MultiSsidNewPage, DeleteWritesTheStateOfThatRowAlone) {
    open("recent", enabled() << "set " + cellOid(2, 4) + " 1");
    page->ui->LV_MultiSSID_User->setCurrentItem(page->ui->LV_MultiSSID_User->topLevelItem(0));
    EXPECT_FALSE(page->ui->DelButton->isEnabled());
    page->DelButtonClick();
    EXPECT_TRUE(sets().isEmpty());

    page->ui->LV_MultiSSID_User->setCurrentItem(page->ui->LV_MultiSSID_User->topLevelItem(1));
    EXPECT_EQ(page->ui->LV_MultiSSID_User->topLevelItem(1)->text(0), "Multi-SSID3");
    EXPECT_EQ(page->ui->Ed_SSID->text(), "Ssid-4");
    ASSERT_TRUE(page->ui->DelButton->isEnabled());
    page->ui->DelButton->click();
    ASSERT_TRUE(settled());
    EXPECT_EQ(sets(), QStringList{cell(2, 4, "0")});
    EXPECT_EQ(userColumn(0), QStringList{"Primary"});
}

TEST_F(MultiSsidNewPage, ApplyDisablesTheManagementVlanFirst) {
    open("recent", enabled(true) << "set devMib.3.1.8.1.0 1");
    page->ui->CB_VLanState->setChecked(false);
    page->ui->ApplyBtn->click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption, "Waring");
    EXPECT_EQ(prompter.shown[0].text, "The manage vlan status will be disabled");
    EXPECT_EQ(sets(), (QStringList{devMibOid("3.1.8.1.0=0"), kMultiOn, kVlanOff, kPriorityOff}));
    EXPECT_EQ(status(), "Setting success!");
}

TEST_F(MultiSsidNewPage, ApplyStopsAtTheFirstWriteTheDeviceRefuses) {
    open("recent", enabled(true));
    ASSERT_TRUE(sim->command("error devMib.2.9.1.1.1 12 set"));
    page->ui->ApplyBtn->click();
    // The multi-SSID state went; the VLAN state was refused and the priority switch not sent.
    EXPECT_EQ(sets().size(), 2);
    EXPECT_EQ(sets().first(), kMultiOn);
    EXPECT_EQ(status(), "Set error!");
}

TEST_F(MultiSsidNewPage, ClosingWaitsForTheSlowTableWalk) {
    start("recent");
    ASSERT_TRUE(sim->command("delay devMib.2.9.2.1 300 get"));
    showPage();
    ASSERT_TRUE(page->tableBusy());
    page->ui->CancelBtn->click();
    EXPECT_TRUE(page->isVisible());
    page->close();
    EXPECT_TRUE(page->isVisible());
    ASSERT_TRUE(settled());
    page->ui->CancelBtn->click();
    EXPECT_FALSE(page->isVisible());
}

TEST_F(MultiSsidNewPage, ClosingWaitsForASaveOrADelete) {
    for (const bool deleting : {false, true}) {
        SCOPED_TRACE(deleting ? "delete" : "save");
        page.reset();
        form.reset();
        sim.reset();
        open("recent", enabled(true) << "set " + cellOid(2, 4) + " 1");
        ASSERT_TRUE(sim->command("delay devMib.2.9.2.1 300 set"));
        if (deleting) {
            page->ui->LV_MultiSSID_User->setCurrentItem(
                page->ui->LV_MultiSSID_User->topLevelItem(1));
            page->ui->DelButton->click();
        } else {
            selectSsid(0);
            page->ui->Ed_WLANID->setText("7");
            page->ui->SaveButton->click();
        }
        ASSERT_TRUE(page->tableBusy());
        page->close();
        EXPECT_TRUE(page->isVisible());
        ASSERT_TRUE(settled());
        page->close();
        EXPECT_FALSE(page->isVisible());
    }
}

} // namespace
