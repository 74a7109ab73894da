// The miscellaneous page against the simulated device: how it shows the console, the order in
// which it writes the protocols, and that a write failing part-way leaves the console as the
// device had it instead of switched off.
#include "pages/service/misc.h"
#include "tests/pages/service/service_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QStatusBar>

namespace {

using test::devMibOid;

QString telnet(int on, int timeout = -1) {
    QString s = devMibOid(QString("3.4.1.0=%1").arg(on));
    if (timeout >= 0)
        s += "," + devMibOid(QString("3.4.2.0=%1").arg(timeout));
    return s;
}
QString ssh(int on) {
    return devMibOid(QString("3.4.3.0=%1").arg(on));
}

class MiscPage : public test::ServicePage<TFM_Misc> {
protected:
    // A device with the console as given (-1: the device has no SSH object).
    void open(int telnetOn, int sshOn, int timeout = 2) {
        openOn("early", {QString("set devMib.3.4.1.0 %1").arg(telnetOn),
                         QString("set devMib.3.4.2.0 %1").arg(timeout),
                         sshOn < 0 ? QString("remove devMib.3.4.3.0")
                                   : QString("set devMib.3.4.3.0 %1").arg(sshOn)});
    }
    QString value(const char* oid) { return sim->value(oid)["value"].toString(); }
};

TEST_F(MiscPage, ShowsTheConsoleAsTheDeviceHasIt) {
    struct Case {
        int telnet, ssh;
        bool status, telnetChosen, sshShown;
    };
    const Case cases[] = {
        {1, 0, true, true, true},  {0, 1, true, false, true},  {1, 1, true, true, true},
        {0, 0, false, true, true}, {1, -1, true, true, false}, {0, -1, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "telnet " << c.telnet << " ssh " << c.ssh);
        open(c.telnet, c.ssh, 3);
        EXPECT_EQ(page->windowTitle(), "Tools \\ Misc.");
        EXPECT_EQ(page->ui->CB_Status->isChecked(), c.status);
        EXPECT_EQ(page->ui->CB_Telnet->isChecked(), c.telnetChosen);
        EXPECT_EQ(page->ui->CB_SSH->isChecked(), !c.telnetChosen);
        EXPECT_EQ(page->ui->CB_SSH->isVisibleTo(page.get()), c.sshShown);
        EXPECT_EQ(page->sshRead(), c.sshShown);
        for (QWidget* w :
             {static_cast<QWidget*>(page->ui->CB_Telnet), static_cast<QWidget*>(page->ui->CB_SSH),
              static_cast<QWidget*>(page->ui->CB_Timeout)})
            EXPECT_EQ(w->isEnabled(), c.status) << w->objectName().toStdString();
        EXPECT_EQ(page->ui->CB_Timeout->currentText(), "5 Mins");
        // A device without SSH is no fault to report.
        EXPECT_TRUE(status().isEmpty()) << status().toStdString();
        EXPECT_TRUE(prompter.shown.isEmpty());
    }
}

TEST_F(MiscPage, ApplyWritesBothProtocolsOffThenTheChosenOne) {
    struct Case {
        const char* name;
        int telnet, ssh; // as the device has them (-1: no SSH object)
        bool status;
        bool chooseSsh;
        QStringList sets;
    };
    const Case cases[] = {
        {"telnet to ssh", 1, 0, true, true, {telnet(0, 2), ssh(0), telnet(0, 2), ssh(1)}},
        {"ssh to telnet", 0, 1, true, false, {telnet(0, 2), ssh(0), telnet(1, 2), ssh(0)}},
        {"console off", 1, 0, false, false, {telnet(0, 2), ssh(0)}},
        {"no ssh object", 0, -1, true, false, {telnet(0, 2), telnet(1, 2)}},
        {"no ssh object, off", 1, -1, false, false, {telnet(0, 2)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(c.telnet, c.ssh);
        page->ui->CB_Status->setChecked(c.status);
        page->CB_StatusClick();
        (c.chooseSsh ? page->ui->CB_SSH : page->ui->CB_Telnet)->setChecked(true);
        page->ui->Bt_Apply->click();
        // The wait dialog's restart command follows.
        EXPECT_EQ(sets(), c.sets + QStringList{devMibOid("3.3.5.0=4")});
        EXPECT_EQ(status(), "Setting Success!");
        EXPECT_EQ(waits.seen.size(), 1);
        EXPECT_TRUE(prompter.shown.isEmpty());
        EXPECT_EQ(value("devMib.3.4.1.0"), c.status && !c.chooseSsh ? "1" : "0");
    }
}

TEST_F(MiscPage, AFailedWriteLeavesTheConsoleAsTheDeviceHadIt) {
    struct Case {
        const char* name;
        const char* fault; // a control command
        QStringList sets;
        QString message; // a message box, or empty
        QString status;
    };
    // The device has Telnet on and SSH off; the operator chooses SSH.
    const Case cases[] = {
        // The first stage fails at SSH: Telnet is off already and is switched on again.
        {"ssh refused",
         "error devMib.3.4.3 5 set",
         {telnet(0, 2), ssh(0), telnet(1, 2), ssh(0)},
         "Set error!Please reset.",
         ""},
        // The second stage fails at SSH on: both were off; Telnet comes back.
        {"ssh on refused",
         "define devMib.3.4.3.0 integer rw 0 enum=0",
         {telnet(0, 2), ssh(0), telnet(0, 2), ssh(1), telnet(1, 2), ssh(0)},
         "",
         "Setting Error!"},
        // Telnet refused from the start: nothing changed, nothing else is sent.
        {"telnet refused",
         "error devMib.3.4.1 5 set",
         {telnet(0, 2), telnet(1, 2)},
         "Set error!Please reset.",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(1, 0);
        ASSERT_TRUE(sim->command(c.fault));
        page->ui->CB_SSH->setChecked(true);
        page->ui->Bt_Apply->click();
        EXPECT_EQ(sets(), c.sets);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(prompter.shown.isEmpty());
        } else {
            ASSERT_EQ(prompter.shown.size(), 1);
            EXPECT_EQ(prompter.shown[0].caption, "Warning");
            EXPECT_EQ(prompter.shown[0].text, c.message);
        }
        if (!c.status.isEmpty()) {
            EXPECT_EQ(status(), c.status);
        }
        EXPECT_TRUE(waits.seen.isEmpty());
        EXPECT_TRUE(sim->command("clear"));
        EXPECT_EQ(value("devMib.3.4.1.0"), "1");
        EXPECT_EQ(value("devMib.3.4.3.0"), "0");
        // The page shows the device's console again.
        EXPECT_TRUE(page->ui->CB_Telnet->isChecked());
    }
}

TEST_F(MiscPage, ATimeOutOutsideItsListIsNeverWritten) {
    // Console on: the operator is told to choose one; nothing is sent.
    open(1, 0, 9);
    EXPECT_EQ(page->ui->CB_Timeout->currentIndex(), -1);
    page->ui->Bt_Apply->click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, "Please select a value for Timeout.");
    EXPECT_TRUE(sets().isEmpty());
    EXPECT_EQ(page->focusWidget(), page->ui->CB_Timeout);

    // Console off: the time-out does not matter and is left as it is.
    page->ui->CB_Status->setChecked(false);
    page->CB_StatusClick();
    prompter.shown.clear();
    page->ui->Bt_Apply->click();
    EXPECT_EQ(sets(), (QStringList{telnet(0), ssh(0), devMibOid("3.3.5.0=4")}));
    EXPECT_EQ(value("devMib.3.4.2.0"), "9");
}

// A console state the device reports that no option stands for: the page shows the console as
// neither on nor off and writes nothing until the operator has chosen.
TEST_F(MiscPage, AConsoleStateNoOptionStandsForIsNoChoiceUntilTheOperatorMakesOne) {
    struct Case {
        const char* name;
        int telnet, ssh;
    };
    const Case cases[] = {{"telnet 99", 99, 0}, {"ssh 2147483647", 1, 2147483647}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(c.telnet, c.ssh);
        EXPECT_EQ(page->ui->CB_Status->checkState(), Qt::PartiallyChecked);
        page->ui->Bt_Apply->click();
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, "Error");
        EXPECT_EQ(prompter.shown[0].text, "Please select a value for Status.");
        EXPECT_EQ(page->focusWidget(), page->ui->CB_Status);
        EXPECT_TRUE(sets().isEmpty()) << sets().join(" ").toStdString();
        EXPECT_TRUE(waits.seen.isEmpty());

        // The operator's first click turns the console on, the second off: off is written.
        page->ui->CB_Status->click();
        EXPECT_TRUE(page->ui->CB_Telnet->isEnabled());
        page->ui->CB_Status->click();
        EXPECT_EQ(page->ui->CB_Status->checkState(), Qt::Unchecked);
        prompter.shown.clear();
        page->ui->Bt_Apply->click();
        EXPECT_TRUE(prompter.shown.isEmpty());
        EXPECT_EQ(sets(), (QStringList{telnet(0, 2), ssh(0), devMibOid("3.3.5.0=4")}));
    }
}

} // namespace
