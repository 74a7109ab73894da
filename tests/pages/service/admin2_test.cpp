// The administrator page of firmware with management limits, against the simulated device:
// address ranges (overlap with every used row, the limit of four, deletion), the management VLAN
// ID's bounds, the console's write order with a failure in the middle, and Apply with the limit on
// and no range.
#include "binding/radio_group.h"
#include "pages/service/admin2.h"
#include "tests/pages/service/service_page.h"

#include <functional>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

using test::devMibOid;

const QString kStoredPassword = "s3cret";

QString row(int n, const QString& from, const QString& to) {
    return devMibOid(QString("3.1.9.1.2.%1=%2,").arg(n).arg(from)) +
           devMibOid(QString("3.1.9.1.3.%1=%2").arg(n).arg(to));
}

class Admin2Page : public test::ServicePage<TFM_Admin2> {
protected:
    // `ranges`: the device's rows 1..4 as "from-to" ("" for a free row).
    // `commands`: further control commands before the page opens.
    void open(const QString& profile = "recent", const QStringList& ranges = {},
              QStringList commands = {}) {
        commands.prepend("set devMib.3.1.2.0 " + kStoredPassword);
        for (int i = 0; i < ranges.size(); ++i) {
            const QStringList ends =
                ranges[i].isEmpty() ? QStringList{"0.0.0.0", "0.0.0.0"} : ranges[i].split('-');
            commands << QString("set devMib.3.1.9.1.2.%1 %2").arg(i + 1).arg(ends[0])
                     << QString("set devMib.3.1.9.1.3.%1 %2").arg(i + 1).arg(ends[1]);
        }
        openOn(profile, commands);
    }
    // Apply as the operator gives it: with the current password typed.
    void apply() {
        page->ui->Ed_OPwd->setText(kStoredPassword);
        page->ui->OK->click();
    }
    QStringList shownRanges() const {
        QStringList out;
        for (int i = 0; i < page->ui->ListView_User->topLevelItemCount(); ++i) {
            auto* item = page->ui->ListView_User->topLevelItem(i);
            out << item->text(0) + ":" + item->text(1) + "-" + item->text(2);
        }
        return out;
    }
};

TEST_F(Admin2Page, OpensWithTheDeviceSettingsAndNoPasswordShown) {
    open("recent", {"10.0.0.10-10.0.0.20", "", "10.0.0.50-10.0.0.60", ""});
    EXPECT_EQ(page->windowTitle(), "Tools \\ Administrator Settings");
    EXPECT_TRUE(page->wlanRead());
    EXPECT_TRUE(page->vidRead());
    EXPECT_TRUE(page->sshRead());
    EXPECT_TRUE(page->rangesSupported());
    EXPECT_FALSE(page->ui->RangeBox->isHidden());
    EXPECT_TRUE(page->ui->SingleBox->isHidden());
    EXPECT_EQ(page->ui->Ed_Usr->text(), "admin");
    for (QLineEdit* e : {page->ui->Ed_OPwd, page->ui->Ed_NPwd, page->ui->Ed_CNP, page->ui->Ed_Pwd})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
    EXPECT_TRUE(page->ui->RB_Telnet->isChecked());
    EXPECT_EQ(page->ui->CB_Timeout->currentText(), "3 Mins");
    EXPECT_EQ(page->ui->CB_WLAN->currentText(), "Enable");
    EXPECT_FALSE(page->ui->GB_Trap->isHidden());
    EXPECT_FALSE(page->ui->GB_Ping->isHidden());
    EXPECT_EQ(page->ui->RG_TrapStatus->currentText(), "Enable");
    EXPECT_EQ(shownRanges(), (QStringList{"1:10.0.0.10-10.0.0.20", "2:10.0.0.50-10.0.0.60"}));
    EXPECT_EQ(page->ui->ListView_IpRange->topLevelItemCount(), 4);
    EXPECT_TRUE(page->ui->Btn_Add->isEnabled() == page->ui->CkBx_ManagerState->isChecked());
}

TEST_F(Admin2Page, AddingARangeComparesItWithEveryUsedRowAndWritesTheFirstFreeOne) {
    struct Case {
        const char* name;
        QString from, to;
        QString message; // refused with this text, or empty when written
        QString caption;
    };
    const QString invalid = "Invalid IP address range for Administrator!";
    const Case cases[] = {
        {"start inside the first row", "10.0.0.15", "10.0.0.30", invalid, "Warning"},
        // The used row after the free one counts as well.
        {"end inside a row after the free one", "10.0.0.40", "10.0.0.55", invalid, "Warning"},
        {"end below start", "10.0.0.90", "10.0.0.80", invalid, "Warning"},
        {"no address", "10.0.0.300", "10.0.0.310", "Please input valid IP address", "Waring"},
        {"enclosing the first row", "10.0.0.5", "10.0.0.30", "", ""},
        {"apart from every row", "10.0.0.100", "10.0.0.110", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open("recent", {"10.0.0.10-10.0.0.20", "", "10.0.0.50-10.0.0.60", ""});
        page->ui->CkBx_ManagerState->setChecked(true);
        page->CkBx_ManagerStateClick();
        page->ui->Ed_FromIP->setText(c.from);
        page->ui->Ed_ToIP->setText(c.to);
        page->ui->Btn_Add->click();
        if (!c.message.isEmpty()) {
            ASSERT_EQ(prompter.shown.size(), 1);
            EXPECT_EQ(prompter.shown[0].caption, c.caption);
            EXPECT_EQ(prompter.shown[0].text, c.message);
            EXPECT_TRUE(sets().isEmpty());
            continue;
        }
        EXPECT_TRUE(prompter.shown.isEmpty());
        EXPECT_EQ(sets(), QStringList{row(2, c.from, c.to)});
        EXPECT_EQ(status(), "Set OK!");
        EXPECT_TRUE(page->ui->Ed_FromIP->text().isEmpty());
        settle();
        EXPECT_EQ(shownRanges(), (QStringList{"1:10.0.0.10-10.0.0.20", "2:" + c.from + "-" + c.to,
                                              "3:10.0.0.50-10.0.0.60"}));
    }
}

TEST_F(Admin2Page, RangeLimitsRefusalsAndDeletion) {
    // A fifth range is refused before its addresses are looked at.
    open("recent",
         {"10.0.0.1-10.0.0.2", "10.0.0.3-10.0.0.4", "10.0.0.5-10.0.0.6", "10.0.0.7-10.0.0.8"});
    page->ui->CkBx_ManagerState->setChecked(true);
    page->CkBx_ManagerStateClick();
    page->ui->Ed_FromIP->setText("junk");
    page->ui->Btn_Add->click();
    EXPECT_EQ(prompter.texts(), QStringList{"Maximum number of IP Range List is 4!!"});
    EXPECT_EQ(prompter.shown.value(0).caption, "Waring");
    EXPECT_TRUE(page->ui->Ed_FromIP->text().isEmpty());

    // Delete clears the row with the same ends.
    prompter.shown.clear();
    page->ui->ListView_User->topLevelItem(2)->setSelected(true);
    EXPECT_TRUE(page->ui->Btn_Del->isEnabled());
    page->ui->Btn_Del->click();
    EXPECT_EQ(sets(), QStringList{row(3, "0.0.0.0", "0.0.0.0")});
    EXPECT_EQ(status(), "Delete OK!");
    settle();
    EXPECT_EQ(shownRanges().size(), 3);

    // A shown range the device no longer has is refused, nothing sent.
    sim->clearJournal();
    QTreeWidgetItem* shown = page->ui->ListView_User->topLevelItem(0);
    shown->setText(1, "10.9.9.9");
    shown->setSelected(true);
    page->ui->Btn_Del->click();
    EXPECT_EQ(prompter.texts(), QStringList{"The selected IP range is no longer on the device."});
    EXPECT_TRUE(sets().isEmpty());

    // A refused write counts as failed, not as "Set OK!" for having been sent.
    prompter.shown.clear();
    ASSERT_TRUE(sim->command("error devMib.3.1.9 5 set"));
    page->ui->Ed_FromIP->setText("10.0.1.1");
    page->ui->Ed_ToIP->setText("10.0.1.9");
    page->ui->Btn_Add->click();
    EXPECT_EQ(sets().size(), 1);
    EXPECT_EQ(status(), "Setting Error!");
    EXPECT_EQ(page->ui->Ed_FromIP->text(), "10.0.1.1");

    // A row the operator does not see (its start reads 0.0.0.0) is not free: with no free row
    // left, Add refuses and sends nothing.
    open("recent",
         {"10.0.0.1-10.0.0.2", "10.0.0.3-10.0.0.4", "10.0.0.5-10.0.0.6", "0.0.0.0-0.0.0.5"});
    ASSERT_EQ(shownRanges().size(), 3);
    page->ui->CkBx_ManagerState->setChecked(true);
    page->CkBx_ManagerStateClick();
    page->ui->Ed_FromIP->setText("10.0.1.1");
    page->ui->Ed_ToIP->setText("10.0.1.9");
    page->ui->Btn_Add->click();
    EXPECT_EQ(prompter.texts(), QStringList{"There is no free row for another IP range."});
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(Admin2Page, ManagementVlanIdOnlyFrom0To4095) {
    struct Case {
        const char* vid;
        bool accepted;
    };
    const Case cases[] = {{"0", true},    {"4095", true}, {"4096", false}, {"-1", false},
                          {"abc", false}, {"", false},    {"+5", false}};
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vid);
        sim->clearJournal();
        prompter.shown.clear();
        page->ui->Ed_VID->setText(c.vid);
        apply();
        if (c.accepted) {
            EXPECT_TRUE(prompter.shown.isEmpty());
            ASSERT_FALSE(sets().isEmpty());
            EXPECT_EQ(sets().last(),
                      devMibOid("3.1.8.1.0=0,") + devMibOid(QString("3.1.8.2.0=%1").arg(c.vid)));
            EXPECT_EQ(status(), "Set OK!");
        } else {
            EXPECT_EQ(prompter.texts(), QStringList{"Please input a number between 0 and 4095.!"});
            EXPECT_TRUE(page->ui->Ed_VID->text().isEmpty());
            EXPECT_TRUE(sets().isEmpty());
        }
    }
    // A VID limit needs multiple SSIDs and VLANs on.
    sim->clearJournal();
    prompter.shown.clear();
    page->ui->Ed_VID->setText("7");
    page->ui->CheckBox_VID->setChecked(true);
    apply();
    EXPECT_EQ(prompter.texts(), QStringList{"Please enable Multi-SSID and VLAN first!"});
    EXPECT_FALSE(page->ui->CheckBox_VID->isChecked());
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(Admin2Page, ApplyWritesInOrderAndWritesTheConsoleBackWhenAWriteFails) {
    const QString login = devMibOid("3.1.1.0=admin");
    const QString limit = devMibOid("3.1.3.0=0");
    const auto telnet = [](int on, bool timeout = true) {
        return devMibOid(QString("3.4.1.0=%1").arg(on)) +
               (timeout ? "," + devMibOid("3.4.2.0=2") : "");
    };
    const auto ssh = [](int on) { return devMibOid(QString("3.4.3.0=%1").arg(on)); };
    const QString ping = devMibOid("3.1.6.1.0=1");
    const QString traps =
        devMibOid("3.1.7.1.0=1,") + devMibOid("3.1.7.2.0=1,") + devMibOid("3.1.7.3.0=0");
    const QString wlan = devMibOid("3.1.6.2.0=1");
    const QString vid = devMibOid("3.1.8.1.0=0,") + devMibOid("3.1.8.2.0=1");
    struct Case {
        const char* name;
        QRadioButton* Ui::TFM_Admin2::*choice;
        const char* fault; // a control command, or null
        QStringList sets;
        QString status;
        QString telnetAfter, sshAfter;
    };
    const Case cases[] = {
        {"ssh",
         &Ui::TFM_Admin2::RB_SHH,
         nullptr,
         {telnet(0), ssh(0), login, limit, telnet(0), ssh(1), ping, traps, wlan, vid},
         "Set OK!",
         "0",
         "1"},
        {"none",
         &Ui::TFM_Admin2::RB_None,
         nullptr,
         {login, limit, telnet(0, false), ssh(0), ping, traps, wlan, vid},
         "Set OK!",
         "0",
         "0"},
        // The login is refused after both protocols went off: Telnet comes back.
        {"login refused",
         &Ui::TFM_Admin2::RB_SHH,
         "error devMib.3.1.1 5 set",
         {telnet(0), ssh(0), login, telnet(1), ssh(0)},
         "Setting Error!",
         "1",
         "0"},
        // SSH on is refused: Telnet comes back.
        {"ssh on refused",
         &Ui::TFM_Admin2::RB_SHH,
         "define devMib.3.4.3.0 integer rw 0 enum=0",
         {telnet(0), ssh(0), login, limit, telnet(0), ssh(1), telnet(1), ssh(0)},
         "Setting Error!",
         "1",
         "0"},
        // The traps' write is counted when the device has answered it, not when it was sent.
        {"traps refused",
         &Ui::TFM_Admin2::RB_SHH,
         "error devMib.3.1.7 5 set",
         {telnet(0), ssh(0), login, limit, telnet(0), ssh(1), ping, traps},
         "Setting Error!",
         "0",
         "1"},
        {"limit refused",
         &Ui::TFM_Admin2::RB_None,
         "error devMib.3.1.3 5 set",
         {login, limit},
         "Setting Error!",
         "1",
         "0"},
        // A failure after the console was written leaves the chosen console.
        {"ping refused",
         &Ui::TFM_Admin2::RB_SHH,
         "error devMib.3.1.6.1 5 set",
         {telnet(0), ssh(0), login, limit, telnet(0), ssh(1), ping},
         "Setting Error!",
         "0",
         "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        if (c.fault) {
            ASSERT_TRUE(sim->command(c.fault));
        }
        (page->ui.get()->*c.choice)->click();
        apply();
        EXPECT_EQ(sets(), c.sets);
        EXPECT_EQ(status(), c.status);
        EXPECT_TRUE(prompter.shown.isEmpty());
        EXPECT_TRUE(sim->command("clear"));
        EXPECT_EQ(sim->value("devMib.3.4.1.0")["value"].toString(), c.telnetAfter);
        EXPECT_EQ(sim->value("devMib.3.4.3.0")["value"].toString(), c.sshAfter);
        EXPECT_TRUE(waits.seen.isEmpty());
    }
}

// A console protocol chosen by an assistive tool's toggle or by a program drives the hidden
// combos as a click does, so Apply writes what the screen shows.
TEST_F(Admin2Page, AConsoleChosenWithoutAClickIsWrittenAsShown) {
    const auto toggleAction = [](QRadioButton* b) {
        QAccessible::queryAccessibleInterface(b)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
    };
    const auto program = [](QRadioButton* b) { b->setChecked(true); };
    struct Case {
        const char* name;
        std::function<void(QRadioButton*)> choose;
        QRadioButton* Ui::TFM_Admin2::*choice;
        const char *telnet, *ssh; // the hidden combos after the choice
        bool timeout;
    };
    const Case cases[] = {
        {"none by toggle action", toggleAction, &Ui::TFM_Admin2::RB_None, "Disable", "Disable",
         false},
        {"ssh by toggle action", toggleAction, &Ui::TFM_Admin2::RB_SHH, "Disable", "Enable", true},
        {"none by program", program, &Ui::TFM_Admin2::RB_None, "Disable", "Disable", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        ASSERT_TRUE(page->ui->RB_Telnet->isChecked());
        c.choose(page->ui.get()->*c.choice);
        EXPECT_TRUE((page->ui.get()->*c.choice)->isChecked());
        EXPECT_EQ(page->ui->CB_Telnet->currentText(), c.telnet);
        EXPECT_EQ(page->ui->CB_SHH->currentText(), c.ssh);
        EXPECT_EQ(page->ui->CB_Timeout->isEnabled(), c.timeout);
        apply();
        EXPECT_EQ(status(), "Set OK!");
        EXPECT_EQ(sim->value("devMib.3.4.1.0")["value"].toString(), "0");
        EXPECT_EQ(sim->value("devMib.3.4.3.0")["value"].toString(),
                  QString(c.ssh) == "Enable" ? "1" : "0");
        EXPECT_TRUE(prompter.shown.isEmpty());
    }
}

TEST_F(Admin2Page, LimitOnWithoutRangesIsSwitchedOffAndTheOtherSettingsStillWritten) {
    struct Case {
        const char* name;
        QStringList ranges;
        int shown;
        QStringList messages;
        QString limit;
    };
    const Case cases[] = {
        {"no range",
         {},
         0,
         {"The IP Range List is empty.\nThe Limit Administrator IP function will be disabled!!"},
         "0"},
        {"one range after a free row", {"", "10.0.0.1-10.0.0.9"}, 1, {}, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open("recent", c.ranges);
        ASSERT_EQ(page->ui->ListView_User->topLevelItemCount(), c.shown);
        page->ui->CkBx_ManagerState->setChecked(true);
        page->ui->RB_None->click();
        apply();
        EXPECT_EQ(prompter.texts(), c.messages);
        EXPECT_EQ(page->ui->CkBx_ManagerState->isChecked(), c.limit == "1");
        const QStringList written = sets();
        ASSERT_GE(written.size(), 3);
        EXPECT_EQ(written[1], devMibOid("3.1.3.0=" + c.limit));
        EXPECT_EQ(written[2], devMibOid("3.4.1.0=0"));
        EXPECT_EQ(written.last(), devMibOid("3.1.8.1.0=0,") + devMibOid("3.1.8.2.0=1"));
        EXPECT_EQ(status(), "Set OK!");
    }
}

// Every setting of the page decides who may manage the device: without the current password
// no Apply writes anything, whatever it changes; with it, an unchanged password is not sent.
TEST_F(Admin2Page, EveryApplyNeedsTheCurrentPassword) {
    struct Case {
        const char* name;
        std::function<void(Ui::TFM_Admin2&)> change;
    };
    const Case cases[] = {
        {"nothing changed", [](Ui::TFM_Admin2&) {}},
        {"console", [](Ui::TFM_Admin2& ui) { ui.RB_SHH->click(); }},
        {"wireless management", [](Ui::TFM_Admin2& ui) { ui.CB_WLAN->setCurrentText("Disable"); }},
        {"management VLAN", [](Ui::TFM_Admin2& ui) { ui.Ed_VID->setText("7"); }},
        {"ping", [](Ui::TFM_Admin2& ui) { ui.CB_Ping->setCurrentText("Disable"); }},
        {"traps", [](Ui::TFM_Admin2& ui) { ui.Ch_SystemTrap->setChecked(false); }},
        {"address limit", [](Ui::TFM_Admin2& ui) { ui.CkBx_ManagerState->setChecked(true); }},
        {"new password",
         [](Ui::TFM_Admin2& ui) {
             ui.Ed_NPwd->setText("newpass");
             ui.Ed_CNP->setText("newpass");
         }},
    };
    for (const Case& c : cases) {
        open("recent", {"10.0.0.10-10.0.0.20"});
        c.change(*page->ui);
        for (const char* typed : {"", "wrong"}) {
            SCOPED_TRACE(testing::Message() << c.name << " with \"" << typed << "\"");
            prompter.shown.clear();
            page->ui->Ed_OPwd->setText(typed);
            page->ui->OK->click();
            EXPECT_EQ(prompter.texts(),
                      QStringList{"Please input the current password correctly!"});
            EXPECT_EQ(prompter.shown.value(0).caption, "Warning");
            EXPECT_TRUE(sets().isEmpty()) << sets().join(" | ").toStdString();
        }
    }
    open();
    page->ui->RB_None->click();
    apply();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(sets().value(0), devMibOid("3.1.1.0=admin"));
    EXPECT_EQ(status(), "Set OK!");
    EXPECT_TRUE(page->ui->Ed_OPwd->text().isEmpty());
    sim->clearJournal();
    page->ui->Ed_NPwd->setText("newpass");
    page->ui->Ed_CNP->setText("newpass");
    apply();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(sets().value(0), devMibOid("3.1.1.0=admin,") + devMibOid("3.1.2.0=newpass"));
    EXPECT_EQ(sim->value("devMib.3.1.2.0")["value"].toString(), "newpass");
}

TEST_F(Admin2Page, ADropDownOutsideItsListIsNeverWritten) {
    open("recent", {}, {"set devMib.3.1.6.2.0 7"});
    EXPECT_EQ(page->ui->CB_WLAN->currentIndex(), -1);
    apply();
    EXPECT_EQ(prompter.texts(),
              QStringList{"Please select a value for Administrate AP with WLAN."});
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(Admin2Page, FirmwareWithoutRangesUsesTwoSingleAddresses) {
    open("admin-singles");
    EXPECT_FALSE(page->rangesSupported());
    EXPECT_TRUE(page->ui->RangeBox->isHidden());
    EXPECT_FALSE(page->ui->SingleBox->isHidden());
    EXPECT_FALSE(page->wlanRead());
    EXPECT_TRUE(page->ui->CB_WLAN->isHidden());
    EXPECT_FALSE(page->vidRead());
    EXPECT_TRUE(page->ui->Ed_VID->isHidden());
    EXPECT_FALSE(page->sshRead());
    EXPECT_TRUE(page->ui->RB_SHH->isHidden());
    EXPECT_TRUE(page->ui->Ed_IP1->text().isEmpty());

    page->ui->CkBx_ManagerState->setChecked(true);
    page->CkBx_ManagerStateClick();
    EXPECT_TRUE(page->managerAddressFlag());
    struct Case {
        const char* ip1;
        const char* ip2;
        QString message;
    };
    const Case cases[] = {
        {"", "", "You at least must input one IP address!"},
        {"10.0.0.300", "", "Invalid IP address!"},
        {"10.0.0.5", "224.0.0.1", "Invalid IP address!"},
        {"10.0.0.5", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ip1);
        sim->clearJournal();
        prompter.shown.clear();
        page->ui->Ed_IP1->setText(c.ip1);
        page->ui->Ed_IP2->setText(c.ip2);
        apply();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(prompter.texts(), QStringList{c.message});
            EXPECT_TRUE(sets().isEmpty());
            continue;
        }
        EXPECT_TRUE(prompter.shown.isEmpty());
        EXPECT_TRUE(
            sets().contains(devMibOid("3.1.4.1.2.1=10.0.0.5,") + devMibOid("3.1.4.1.2.2=0.0.0.0")))
            << sets().join(" | ").toStdString();
        EXPECT_EQ(status(), "Set OK!");
    }
}

} // namespace
