// "Advanced \ Wireless MAC ACL" against the simulated device: the list as the device holds it,
// the checks of a new address, adding into a free slot, deleting, a full list, a refused slot
// write and the restart that follows only a delete the device took.
#include "pages/service/mac_acl.h"
#include "tests/support/accessible_tree.h"
#include "tests/support/page_window.h"
#include "tests/support/wait_watcher.h"

#include <QStatusBar>
#include <QTreeWidget>

namespace {

using test::devMibOid;

const QString kAccess = devMibOid("2.4.1.1.1.0");
QString slot(int n) {
    return devMibOid("2.4.2.1.2.1." + QString::number(n));
}

class MacAcl : public test::PageWindow<TFM_WMACACL> {
protected:
    void open(const QString& profile = "recent", const QStringList& before = {}) {
        openOn(profile, before, [&] { return slotsIdle(); });
    }
    bool slotsIdle() const { return !page->slotsBusy() && !page->exchangesOutstanding(); }
    void waitForSlots() {
        ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return slotsIdle(); }, 10000));
    }
    QStringList shown() const {
        QStringList rows;
        for (int i = 0; i < page->ui->LV_UerMACAddress->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = page->ui->LV_UerMACAddress->topLevelItem(i);
            rows << row->text(0) + " " + row->text(1);
        }
        return rows;
    }
    QStringList macSets() const { return sets({"2.4.2"}); }
    void choose(const QString& access) {
        page->ui->CB_FilterCtrl->setCurrentIndex(page->ui->CB_FilterCtrl->findText(access));
    }
    QString status() const { return page->ui->StatusBar1->currentMessage(); }

    test::WaitWatcher waits;
};

TEST_F(MacAcl, ShowsTheUsedSlotsNumberedAndTheFilterOff) {
    open();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ Wireless MAC ACL");
    EXPECT_EQ(page->ui->CB_FilterCtrl->currentText(), "Disable");
    EXPECT_FALSE(page->ui->Ed_MacAdd->isEnabled());
    EXPECT_EQ(shown(), (QStringList{"1 000F3D0000C1", "2 000F3D0000C3"}));
    EXPECT_EQ(page->ui->LV_GetMAC->topLevelItemCount(), 8);
    EXPECT_EQ(page->ui->LV_UerMACAddress->headerItem()->text(1), "MAC Address");
    EXPECT_EQ(status(), "Get OK!");
    EXPECT_TRUE(page->ui->Bt_Apply->isEnabled());
    EXPECT_TRUE(page->ui->Bt_Del->isEnabled());
    EXPECT_FALSE(page->ui->CB_Band->isEnabled());
    EXPECT_EQ(page->ui->CB_Band->currentText(), "IEEE802.11g");
    EXPECT_EQ(page->ui->La_MacAdd->buddy(), page->ui->Ed_MacAdd);

    choose("Accept");
    EXPECT_TRUE(page->ui->Ed_MacAdd->isEnabled());
}

// The slots written through the hidden list are no business of a screen reader: its columns
// (the descriptors' raw names) are not announced; the visible list's captions are.
TEST_F(MacAcl, TheHiddenSlotListIsNotAnnounced) {
    open();
    for (const test::AccessibleNode& node : test::accessibleTree(page.get()))
        EXPECT_FALSE(node.name.startsWith("adEthernetFilter")) << node.name.toStdString();
    EXPECT_TRUE(test::findAccessible(page.get(), QAccessible::ColumnHeader, "MAC Address").showing);
}

TEST_F(MacAcl, RefusesAddressesThatCannotBeAddedAfterWritingTheAccessControl) {
    open();
    struct Case {
        const char* mac;
        const char* caption;
        const char* message;
    };
    const Case cases[] = {
        {"00112233445", "Error", "The length is 12 in MAC Address."},
        {"0011223344556", "Error", "The length is 12 in MAC Address."},
        {"000000000000", "Warning", "Please input a valid MAC Address."},
        {"00112233445G", "Warning", "Please input  Hexadecimal digits!"},
        {"00-11-22-33-", "Warning", "Please input  Hexadecimal digits!"},
        {"000f3d0000c1", "Warning", "Reject: The MAC already exists "},
        {"000F3D0000C3", "Warning", "Reject: The MAC already exists "},
    };
    choose("Reject");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mac);
        sim->clearJournal();
        prompter.shown.clear();
        page->ui->Ed_MacAdd->setText(c.mac);
        page->ui->Bt_Apply->click();
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, c.caption);
        EXPECT_EQ(prompter.shown[0].text, c.message);
        EXPECT_EQ(macSets(), QStringList{kAccess + "=2"});
        EXPECT_FALSE(page->slotsBusy());
    }
}

TEST_F(MacAcl, AddsIntoTheFirstFreeSlotAndListsAgain) {
    open();
    choose("Accept");
    page->ui->Ed_MacAdd->setText("0011223344aa");
    page->ui->Bt_Apply->click();
    waitForSlots();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_EQ(macSets(), (QStringList{kAccess + "=1", slot(2) + "=0011223344AA"}));
    EXPECT_EQ(shown(), (QStringList{"1 000F3D0000C1", "2 0011223344AA", "3 000F3D0000C3"}));
    EXPECT_EQ(status(), "Get OK!");
    EXPECT_TRUE(waits.seen.isEmpty()); // saved later by the operator
}

TEST_F(MacAcl, WithTheFilterOffOnlyTheAccessControlIsWritten) {
    open("early");
    page->ui->Ed_MacAdd->setEnabled(true);
    page->ui->Ed_MacAdd->setText("0011223344AA");
    page->ui->Bt_Apply->click();
    // The access control only, then the wait dialog's restart (4) on this device without save.
    EXPECT_EQ(macSets(), (QStringList{kAccess + "=3", devMibOid("3.3.5.0=4")}));
    EXPECT_EQ(status(), "Set OK!");
    EXPECT_EQ(waits.seen.size(), 1);
}

TEST_F(MacAcl, AFullListRefusesAddWithoutOverwritingASlot) {
    QStringList fill;
    for (int n : {2, 4, 5, 6, 7, 8})
        fill << QStringLiteral("define devMib.2.4.2.1.2.1.%1 hex rw 00000000000%1 size=6").arg(n);
    open("recent", fill);
    ASSERT_EQ(shown().size(), 8);
    choose("Accept");
    page->ui->Ed_MacAdd->setText("0011223344AA");
    page->ui->Bt_Apply->click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, "The MAC address list is full.");
    EXPECT_EQ(macSets(), QStringList{kAccess + "=1"});
    EXPECT_FALSE(page->slotsBusy());
}

TEST_F(MacAcl, DeleteClearsTheSlotOfTheSelectedAddressOnly) {
    open();
    // Nothing selected: nothing written.
    page->ui->Bt_Del->click();
    EXPECT_TRUE(macSets().isEmpty());

    // A row whose address no slot holds (the device changed meanwhile): nothing written.
    QTreeWidgetItem* second = page->ui->LV_UerMACAddress->topLevelItem(1);
    const QString held = second->text(1);
    second->setText(1, "00AABBCCDDEE");
    page->ui->LV_UerMACAddress->setCurrentItem(second);
    page->ui->Bt_Del->click();
    EXPECT_TRUE(macSets().isEmpty());
    EXPECT_FALSE(page->slotsBusy());

    second->setText(1, held);
    page->ui->Bt_Del->click();
    waitForSlots();
    EXPECT_EQ(macSets(), QStringList{slot(3) + "=000000000000"});
    EXPECT_EQ(shown(), QStringList{"1 000F3D0000C1"});
}

// Without save-and-activate only a delete the device took is restarted into effect. An addition
// ends with the slot write's answer: "Refresh..." and the list read again, no wait dialog and no
// restart command. A refused write leaves the list as it was and the buttons usable.
TEST_F(MacAcl, OnlyADeleteTheDeviceTookRestartsTheDevice) {
    struct Case {
        const char* name;
        bool refuse;
        bool deleting;
        int waitsAfter;
        QStringList listed; // after the write
    };
    const QStringList before = {"1 000F3D0000C1", "2 000F3D0000C3"};
    const Case cases[] = {
        {"add taken", false, false, 0, {"1 000F3D0000C1", "2 0011223344AA", "3 000F3D0000C3"}},
        {"add refused", true, false, 0, before},
        {"delete refused", true, true, 0, before},
        {"delete taken", false, true, 1, {"1 000F3D0000C3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.reset();
        form.reset();
        sim.reset();
        open("early");
        waits.seen.clear();
        QStringList statuses;
        QObject::connect(page->ui->StatusBar1, &QStatusBar::messageChanged,
                         [&](const QString& text) { statuses << text; });
        if (c.refuse) {
            ASSERT_TRUE(sim->command("error devMib.2.4.2 5 set"));
        }
        if (c.deleting) {
            page->ui->LV_UerMACAddress->setCurrentItem(page->ui->LV_UerMACAddress->topLevelItem(0));
            page->ui->Bt_Del->click();
        } else {
            choose("Accept");
            page->ui->Ed_MacAdd->setText("0011223344AA");
            page->ui->Bt_Apply->click();
        }
        // No wait dialog before the answer.
        EXPECT_TRUE(waits.seen.isEmpty());
        waitForSlots();
        EXPECT_EQ(waits.seen.size(), c.waitsAfter);
        EXPECT_EQ(sets().join(",").contains(devMibOid("3.3.5.0=")), c.waitsAfter > 0)
            << sets().join(" | ").toStdString();
        EXPECT_TRUE(page->ui->Bt_Apply->isEnabled());
        EXPECT_TRUE(page->ui->Bt_Del->isEnabled());
        EXPECT_EQ(shown(), c.listed);
        if (c.refuse) {
            EXPECT_FALSE(statuses.contains("Refresh..."));
            EXPECT_NE(status(), "Get OK!");
        } else {
            EXPECT_EQ(statuses.value(0), "Refresh...");
            EXPECT_EQ(status(), "Get OK!");
        }
    }
}

TEST_F(MacAcl, AnAccessControlOutsideItsListIsNeverWritten) {
    open("recent", {"define devMib.2.4.1.1.1.0 integer rw 7"});
    EXPECT_EQ(page->ui->CB_FilterCtrl->currentIndex(), -1);
    page->ui->Bt_Apply->click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, "Please select a value for Access Control.");
    EXPECT_EQ(prompter.shown[0].caption, "Error");
    EXPECT_TRUE(sets().isEmpty());
}

} // namespace
