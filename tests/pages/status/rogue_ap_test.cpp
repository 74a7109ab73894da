// "Advanced\Rogue AP" against the simulated device: the filter and its bits, detection, moving
// and deleting entries by their sparse indices, the 30-entry limit, the radio warning, one
// command at a time, and the protection apply that counts only what the device answered.
#include "pages/status/rogue_ap.h"
#include "tests/support/page_window.h"
#include "tests/support/wait_watcher.h"

#include <QLabel>
#include <QRadioButton>

namespace {

using test::devMibOid;

TEST(RogueFilterBits, BandsAndSecurityKinds) {
    EXPECT_EQ(TFM_RogueForm::bandBits(false, true, true), 12);
    EXPECT_EQ(TFM_RogueForm::bandBits(true, false, false), 1);
    EXPECT_EQ(TFM_RogueForm::bandBits(true, true, true), 13);
    EXPECT_EQ(TFM_RogueForm::bandBits(false, false, false), 0);
    const std::array<bool, 8> all{true, true, true, true, true, true, true, true};
    const struct {
        std::array<bool, 8> boxes;
        bool adHoc;
        int bits;
    } cases[] = {
        {all, false, 255},
        {all, true, 3}, // an Ad Hoc scan keeps OFF and WEP only
        {{false, true, false, true, false, false, false, true}, false, 2 + 8 + 128},
        {{false, true, false, true, false, false, false, true}, true, 2},
        {{}, false, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TFM_RogueForm::securityBits(c.boxes, c.adHoc), c.bits) << c.adHoc;
}

class RogueAp : public test::PageWindow<TFM_RogueForm> {
protected:
    void open() {
        showPage();
        ASSERT_TRUE(settle());
    }
    bool settle() {
        return kwtest::SimDevice::waitUntil(
            [&] { return page->idle() && !page->exchangesOutstanding(); }, 20000);
    }
    QString status() const { return page->findChild<QLabel*>("StatusPanel")->text(); }
    // The row captions (table indices) of a list.
    static QStringList indices(const QTreeWidget* list) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(0);
        return out;
    }
    static bool select(QTreeWidget* list, const QString& index) {
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(0) == index) {
                list->setCurrentItem(list->topLevelItem(i));
                return true;
            }
        return false;
    }
    void detect() {
        page->ui->DetectBtn->click();
        ASSERT_TRUE(settle());
    }
};

TEST_F(RogueAp, OpeningShowsTheFilterTheListsAndProtection) {
    start("recent");
    open();
    EXPECT_EQ(page->windowTitle(), "Advanced\\Rogue AP");
    EXPECT_EQ(page->ui->BSSTypRadGrp->currentText(), "Both");
    EXPECT_FALSE(page->ui->CheckBox_11a->isVisible());
    EXPECT_TRUE(page->ui->CheckBox_11b->isChecked());
    EXPECT_TRUE(page->ui->CheckBox_11g->isChecked());
    EXPECT_TRUE(page->ui->WPA2AUTPCkBox->isChecked());
    EXPECT_TRUE(page->ui->CB_RogueAP->isVisible());
    EXPECT_EQ(page->ui->CB_RogueAP->currentText(), "Disable");
    EXPECT_EQ(page->ui->RogueListView->topLevelItemCount(), 0);
    EXPECT_TRUE(page->ui->RogueListView->isColumnHidden(0));
    EXPECT_EQ(status(), "Get OK!");
    for (QPushButton* b : {page->ui->DetectBtn, page->ui->Apply_Btn, page->ui->Cancel_Btn})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
}

// The list answers are handled after their exchanges have ended: until the opening's are, the
// page is not idle and offers no command, so a late one cannot end a command begun meanwhile.
TEST_F(RogueAp, CommandsWaitForTheOpeningsListReads) {
    start("recent");
    ASSERT_TRUE(sim->command("delay devMib.2.10.4.2.2 3000 get")); // the AP list answers late
    showPage();
    EXPECT_FALSE(page->idle());
    for (QPushButton* b : {page->ui->DetectBtn, page->ui->AddBtn, page->ui->DelBtn,
                           page->ui->ListDelBtn, page->ui->Apply_Btn})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    page->ui->DetectBtn->click();
    page->reject();
    EXPECT_TRUE(page->isVisible());
    ASSERT_TRUE(settle());
    EXPECT_TRUE(sets().isEmpty());
    EXPECT_EQ(status(), "Get OK!");
    for (QPushButton* b : {page->ui->DetectBtn, page->ui->AddBtn, page->ui->DelBtn,
                           page->ui->ListDelBtn, page->ui->Apply_Btn})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
}

TEST_F(RogueAp, DetectionListsWhatPassesTheFilterBySparseIndex) {
    start("recent");
    open();
    // Only access points (no Ad Hoc), 11a (its box hidden, its bit kept) and 11g.
    page->ui->BSSTypRadGrp->button(0)->click();
    page->ui->CheckBox_11b->click();
    EXPECT_EQ(page->ui->BandEdit->text(), "9");
    detect();
    EXPECT_EQ(status(), "Get OK!");
    ASSERT_EQ(indices(page->ui->RogueListView), (QStringList{"3", "7", "15"}))
        << sim->requests("set").size() << " sets; " << sets().join(" | ").toStdString();
    const QTreeWidgetItem* first = page->ui->RogueListView->topLevelItem(0);
    EXPECT_EQ(first->text(1), "AP");
    EXPECT_EQ(first->text(2), "1");
    EXPECT_EQ(first->text(3), "000F3D0A0B01");
    EXPECT_EQ(first->text(4), "WEP");
    EXPECT_EQ(first->text(5), "g");
    EXPECT_EQ(first->text(6), "north-wing");
    const QStringList s = sets();
    ASSERT_GE(s.size(), 2);
    EXPECT_EQ(s[s.size() - 2],
              devMibOid("2.10.1.0=1,") + devMibOid("2.10.2.0=9,") + devMibOid("2.10.3.0=255"));
    EXPECT_EQ(s.last(), devMibOid("2.10.4.1.1.0=1"));
}

TEST_F(RogueAp, AddAndDeleteKeepTheIndicesOfTheOtherEntries) {
    start("recent");
    open();
    detect();
    ASSERT_EQ(indices(page->ui->RogueListView), (QStringList{"3", "7", "12", "15", "21", "28"}));
    EXPECT_EQ(page->ui->RogueListView->topLevelItem(2)->text(1), "Ad Hoc");

    ASSERT_TRUE(select(page->ui->RogueListView, "12"));
    page->ui->AddBtn->click();
    ASSERT_TRUE(settle());
    EXPECT_EQ(indices(page->ui->RogueListView), (QStringList{"3", "7", "15", "21", "28"}));
    EXPECT_EQ(indices(page->ui->AP_ListView), (QStringList{"12"}));
    EXPECT_EQ(page->ui->AP_ListView->topLevelItem(0)->text(6), "cafe-adhoc");

    ASSERT_TRUE(select(page->ui->RogueListView, "7"));
    ASSERT_TRUE(page->ui->DelBtn->isEnabled()) << status().toStdString();
    ASSERT_TRUE(page->idle()) << status().toStdString();
    page->ui->DelBtn->click();
    ASSERT_TRUE(settle());
    EXPECT_EQ(indices(page->ui->RogueListView), (QStringList{"3", "15", "21", "28"}));

    ASSERT_TRUE(select(page->ui->AP_ListView, "12"));
    page->ui->ListDelBtn->click();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(indices(page->ui->AP_ListView).isEmpty());
    const QStringList s = sets();
    EXPECT_TRUE(s.contains(devMibOid("2.10.4.1.2.0=12")));
    EXPECT_TRUE(s.contains(devMibOid("2.10.4.1.3.0=7")));
    EXPECT_EQ(s.last(), devMibOid("2.10.4.2.1.0=12"));
}

TEST_F(RogueAp, CommandsWithoutASelectedRowSendNothing) {
    start("recent");
    open();
    detect();
    const int before = static_cast<int>(sets().size());
    page->ui->RogueListView->setCurrentItem(nullptr);
    page->ui->AP_ListView->setCurrentItem(nullptr);
    for (QPushButton* b : {page->ui->AddBtn, page->ui->DelBtn, page->ui->ListDelBtn})
        b->click();
    ASSERT_TRUE(settle());
    EXPECT_EQ(sets().size(), before);
}

TEST_F(RogueAp, ThirtyAcceptedEntriesRefuseTheNextAdd) {
    start("recent");
    for (int i = 100; i < 130; ++i) {
        const QString row = QString::number(i);
        const QStringList cells{
            "2 string ro \"AP\"", "3 integer ro 6", "5 hex ro 000F3D0A0C" + QString::number(i - 70),
            "9 integer ro 1",     "7 integer ro 3", "8 string ro \"ap" + row + "\""};
        for (const QString& cell : cells) {
            const QString column = cell.section(' ', 0, 0);
            ASSERT_TRUE(sim->command("define devMib.2.10.4.2.2.1." + column + "." + row + " " +
                                     cell.section(' ', 1)));
        }
    }
    open();
    ASSERT_EQ(page->ui->AP_ListView->topLevelItemCount(), 30);
    detect();
    ASSERT_TRUE(select(page->ui->RogueListView, "3"));
    prompter.shown.clear();
    page->ui->AddBtn->click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, "Miximum number of AP list is 30!");
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_FALSE(sets().join(";").contains(devMibOid("2.10.4.1.2.0")));
    EXPECT_TRUE(page->idle());
    EXPECT_TRUE(page->ui->AddBtn->isEnabled());
}

TEST_F(RogueAp, AdHocDropsTheWpaKindsFromTheFilter) {
    start("recent");
    open();
    page->ui->BSSTypRadGrp->button(1)->click(); // "Ad Hoc"
    EXPECT_EQ(page->ui->SecEdit->text(), "3");
    for (QCheckBox* box :
         {page->ui->ChcBxo_eap, page->ui->ChcBxo_psk, page->ui->WPA2EAPCkBox,
          page->ui->WPA2PSKCkBox, page->ui->WPA2AUTECkBox, page->ui->WPA2AUTPCkBox})
        EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
    EXPECT_TRUE(page->ui->ChcBxo_wep->isEnabled());
    page->ui->BSSTypRadGrp->button(2)->click(); // "Both": the WPA kinds count again
    EXPECT_EQ(page->ui->SecEdit->text(), "255");
    EXPECT_TRUE(page->ui->ChcBxo_eap->isEnabled());
}

TEST_F(RogueAp, ARadioThatIsOffIsWarnedAboutAndKeepsDetectDisabled) {
    start("recent");
    ASSERT_TRUE(sim->command("set devMib.2.3.1.12.1 0"));
    open();
    EXPECT_TRUE(prompter.texts().contains(
        "Radio has been turned off,the rogue ap detection will be invalid! "));
    EXPECT_FALSE(page->ui->DetectBtn->isEnabled());
}

TEST_F(RogueAp, TheFormStaysOpenWhileADetectionIsOutstanding) {
    start("recent");
    open();
    page->ui->DetectBtn->click();
    EXPECT_FALSE(page->idle());
    EXPECT_FALSE(page->ui->Cancel_Btn->isEnabled());
    page->reject();
    EXPECT_TRUE(page->isVisible());
    ASSERT_TRUE(settle());
    page->ui->Cancel_Btn->click();
    EXPECT_FALSE(page->isVisible());
}

TEST_F(RogueAp, AFailedOpeningLeavesTheCommandsDisabled) {
    start("recent");
    ASSERT_TRUE(sim->command("error devMib.2.3.1.12 5 get"));
    open();
    EXPECT_FALSE(page->opened());
    for (QPushButton* b : {page->ui->DetectBtn, page->ui->AddBtn, page->ui->DelBtn,
                           page->ui->ListDelBtn, page->ui->Apply_Btn})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(page->ui->Cancel_Btn->isEnabled());
}

TEST_F(RogueAp, AProtectionWriteTheDeviceRefusesIsASetErrorWithoutRestart) {
    start("recent");
    open();
    app::setSaveSupported(false); // a success would be followed by the restart count-down
    ASSERT_TRUE(sim->command("error devMib.2.10.5 5 set"));
    test::WaitWatcher waits;
    page->ui->CB_RogueAP->setCurrentText("Enable");
    page->ui->Apply_Btn->click();
    EXPECT_EQ(status(), "Set Error!");
    EXPECT_TRUE(waits.seen.isEmpty());
}

TEST_F(RogueAp, AProtectionWithoutAValueIsNeverWritten) {
    start("recent");
    ASSERT_TRUE(sim->command("error devMib.2.10.5 5 get"));
    open();
    ASSERT_EQ(page->ui->CB_RogueAP->currentIndex(), -1);
    page->ui->Apply_Btn->click();
    EXPECT_EQ(status(), "Set Success!"); // the filter; save-and-activate takes it from here
    EXPECT_FALSE(sets().join(";").contains(devMibOid("2.10.5")));
    EXPECT_EQ(sets().last(),
              devMibOid("2.10.1.0=3,") + devMibOid("2.10.2.0=13,") + devMibOid("2.10.3.0=255"));
}

} // namespace
