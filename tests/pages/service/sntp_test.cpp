// "Tools \ SNTP" against the simulated device: the daylight-saving list the device uploads to the
// module's TFTP server when the page opens (arriving, refused, never sent), the zone rule, what
// Apply writes and when it reports success, and a TFTP server that cannot start.
#include "pages/service/sntp.h"
#include "tests/support/page_window.h"
#include "tests/support/transfer_fixture.h"
#include "tests/support/wait_watcher.h"

#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QUdpSocket>

namespace {

using test::devMibOid;

class SntpPage : public test::PageWindow<TSNTPForm, test::TransferWindow> {
protected:
    void open() { showPage(); }
    // Until the list step has ended (arrived, refused or given up) and every answer is in.
    void settleList() {
        ASSERT_TRUE(waitFor([&] { return page->closePermitted() && !page->exchangesOutstanding(); },
                            20000));
    }
    QString status() const { return page->statusPanel()->text(); }
    void chooseZone(int index) {
        page->ui->CB_WSNTPTimeZone->setCurrentIndex(index);
        emit page->ui->CB_WSNTPTimeZone->activated(index);
    }
    QStringList listCommands() const {
        QStringList out;
        for (const QString& s : sets())
            if (s.startsWith(devMibOid("3.5.6.")))
                out << s;
        return out;
    }

    test::WaitWatcher waits;
};

const int kPacific = 4;  // zone 5 observes daylight saving
const int kDateLine = 0; // zone 1 does not

TEST_F(SntpPage, TheDeviceSendsItsListAndTheZoneRuleFollowsIt) {
    start("recent");
    open();
    EXPECT_EQ(page->windowTitle(), "Tools \\ SNTP");
    EXPECT_FALSE(page->closePermitted()); // the list is on its way
    settleList();
    EXPECT_EQ(listCommands(),
              QStringList{devMibOid("3.5.6.1.0=127.0.0.1,") + devMibOid("3.5.6.2.0=SNTPFile.RD,") +
                          devMibOid("3.5.6.3.0=1")});
    EXPECT_EQ(status(), "Get Complete.");
    ASSERT_TRUE(page->listKnown());
    // Kept in a folder of this device, outside the program's directory.
    EXPECT_TRUE(page->listPath().startsWith(dir.path() + "/data/"));
    EXPECT_TRUE(page->listPath().endsWith(sim->address() + "/SNTPFile.RD"));
    EXPECT_TRUE(QFile::exists(page->listPath()));
    EXPECT_TRUE(page->daylightFlag(kPacific));
    EXPECT_FALSE(page->daylightFlag(kDateLine));

    EXPECT_EQ(page->ui->CB_WSNTPTimeZone->count(), 75);
    EXPECT_EQ(page->ui->CB_WSNTPTimeZone->currentText(),
              "(GMT-08:00) Pacific Time (US & Canada); Tijuana");
    EXPECT_EQ(page->ui->LabRSNTPTimeZone->text(), page->ui->CB_WSNTPTimeZone->currentText());
    EXPECT_EQ(page->ui->Ed_WSNTPServ->text(), ""); // 0.0.0.0 is shown empty
    EXPECT_TRUE(page->ui->CHB_DayLight->isChecked());
    EXPECT_TRUE(page->ui->CHB_DayLight->isEnabled());
    EXPECT_TRUE(QRegularExpression("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(page->ui->LabRLocalTime->text())
                    .hasMatch())
        << page->ui->LabRLocalTime->text().toStdString();
    EXPECT_TRUE(page->ui->Bt_Apply->isEnabled());

    chooseZone(kDateLine);
    EXPECT_FALSE(page->ui->CHB_DayLight->isChecked());
    EXPECT_FALSE(page->ui->CHB_DayLight->isEnabled());
    chooseZone(kPacific);
    EXPECT_TRUE(page->ui->CHB_DayLight->isEnabled());
}

// Without a list the module knows nothing about the zones: daylight saving stays as the device
// reported it, and the page stays usable and closable.
TEST_F(SntpPage, WithoutAListDaylightSavingStaysAsRead) {
    struct Case {
        const char* name;
        const char* profile;
        QStringList before; // control commands before the page opens
    };
    const QString objects = "define devMib.3.5.%1 %2";
    const Case cases[] = {
        {"refused", "recent", {"error devMib.3.5.6 5 set"}},
        // A device that takes the command and never sends the file.
        {"never sent",
         "early",
         {objects.arg("1.0", "ipaddress rw 0.0.0.0"), objects.arg("2.0", "integer rw 5"),
          objects.arg("4.0", "integer rw 1"),
          objects.arg("5.0", "string ro \"2026/01/01 00:00:00\""),
          objects.arg("6.1.0", "ipaddress rw 0.0.0.0"), objects.arg("6.2.0", "string rw \"\""),
          objects.arg("6.3.0", "integer rw 0")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.reset();
        form.reset();
        sim.reset();
        start(c.profile);
        for (const QString& command : c.before) {
            ASSERT_TRUE(sim->command(command)) << command.toStdString();
        }
        open();
        settleList();
        EXPECT_FALSE(page->listKnown());
        EXPECT_TRUE(page->closePermitted());
        EXPECT_TRUE(page->ui->Bt_Apply->isEnabled());
        EXPECT_NE(status(), "Get Complete.");
        chooseZone(kDateLine);
        EXPECT_TRUE(page->ui->CHB_DayLight->isChecked());
        EXPECT_TRUE(page->ui->CHB_DayLight->isEnabled());
        sim->clearJournal();
        page->ui->Bt_Apply->click();
        settleList();
        EXPECT_EQ(sets().value(0),
                  devMibOid("3.5.1.0=0.0.0.0,") + devMibOid("3.5.2.0=1,") + devMibOid("3.5.4.0=1"));
        page->close();
        EXPECT_FALSE(page->isVisible());
    }
}

// No interface of this PC on the device's subnet: no list can come, the operator is told, and
// the page stays usable and closable with daylight saving as read.
TEST_F(SntpPage, WithoutAnInterfaceOnTheDevicesSubnetThePageStaysUsable) {
    start("recent");
    QvNetInterface lan;
    lan.address = "192.168.7.10";
    lan.netmask = "255.255.255.0";
    lan.up = true;
    platform::setLocalInterfacesOverride(QList<QvNetInterface>{lan});
    open();
    settleList();
    EXPECT_TRUE(prompter.texts().contains("Invalid Server IP Address or SNMP timed out!"))
        << prompter.texts().join("; ").toStdString();
    EXPECT_TRUE(listCommands().isEmpty());
    EXPECT_FALSE(page->listKnown());
    EXPECT_TRUE(page->ui->CHB_DayLight->isChecked());
    ASSERT_TRUE(page->ui->Bt_Apply->isEnabled());
    sim->clearJournal();
    page->ui->Bt_Apply->click();
    settleList();
    EXPECT_EQ(sets().value(0),
              devMibOid("3.5.1.0=0.0.0.0,") + devMibOid("3.5.2.0=5,") + devMibOid("3.5.4.0=1"));
    page->close();
    EXPECT_FALSE(page->isVisible());
}

TEST_F(SntpPage, AnOldListIsRemovedBeforeTheDeviceIsAsked) {
    start("recent");
    ASSERT_TRUE(sim->command("error devMib.3.5.6 5 set"));
    open();
    const QString path = page->listPath();
    settleList();
    page.reset();
    // Every zone observing daylight saving, as a stale file might say.
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray("1\r\n").repeated(75));
    stale.close();
    open();
    settleList();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(page->listKnown());
}

TEST_F(SntpPage, ApplyChecksTheServerAndReportsSuccessWhenAnswered) {
    start("recent");
    open();
    settleList();
    struct Case {
        const char* server;
        const char* message; // nullptr: written
        const char* sent;
        const char* shownAfter;
    };
    const Case cases[] = {
        {"", nullptr, "0.0.0.0", ""},
        {"10.1.1.1", nullptr, "10.1.1.1", "10.1.1.1"},
        {"10.0.0.255", "Please input valid IP address", nullptr, ""},
        {"ntp", "Please input valid IP address", nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        sim->clearJournal();
        prompter.shown.clear();
        page->ui->Ed_WSNTPServ->setText(c.server);
        page->ui->Bt_Apply->click();
        if (c.message) {
            ASSERT_EQ(prompter.shown.size(), 1);
            EXPECT_EQ(prompter.shown[0].caption, "Waring");
            EXPECT_EQ(prompter.shown[0].text, c.message);
            EXPECT_TRUE(sets().isEmpty());
        } else {
            settleList();
            EXPECT_EQ(sets(), QStringList{devMibOid("3.5.1.0=") + c.sent + "," +
                                          devMibOid("3.5.2.0=5,") + devMibOid("3.5.4.0=1")});
        }
        EXPECT_EQ(page->ui->Ed_WSNTPServ->text(), c.shownAfter);
    }
    EXPECT_TRUE(waits.seen.isEmpty()); // saved later by the operator

    // The answer comes late: no success before it, an error when the device refuses.
    ASSERT_TRUE(sim->command("delay devMib.3.5.1 300 set"));
    // The reading that follows a success shows "Get OK!": held back, so the success is seen.
    ASSERT_TRUE(sim->command("delay devMib.3.5.1 1000 get"));
    page->ui->Bt_Apply->click();
    EXPECT_EQ(status(), "Set...");
    EXPECT_FALSE(page->ui->Bt_Apply->isEnabled());
    EXPECT_FALSE(page->closePermitted());
    ASSERT_TRUE(waitFor([&] { return page->closePermitted(); }, 10000));
    EXPECT_EQ(status(), "Setting success!");
    ASSERT_TRUE(waitFor([&] { return !page->exchangesOutstanding(); }, 10000));
    EXPECT_EQ(status(), "Get OK!");
    ASSERT_TRUE(sim->command("clear"));
    ASSERT_TRUE(sim->command("error devMib.3.5.1 5 set"));
    page->ui->Bt_Apply->click();
    ASSERT_TRUE(waitFor([&] { return page->closePermitted(); }, 10000));
    EXPECT_EQ(status(), "Setting error!");
    EXPECT_TRUE(page->ui->Bt_Apply->isEnabled());
}

TEST_F(SntpPage, AZoneOutsideTheListIsNeverWritten) {
    start("recent");
    ASSERT_TRUE(sim->command("define devMib.3.5.2.0 integer rw 99"));
    open();
    settleList();
    EXPECT_EQ(page->ui->CB_WSNTPTimeZone->currentIndex(), -1);
    sim->clearJournal();
    prompter.shown.clear();
    page->ui->Bt_Apply->click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, "Please select a value for SNTP/NTP Server Time Zone.");
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(SntpPage, ATakenTftpPortClosesThePageNotTheModule) {
    start("recent");
    QUdpSocket blocker;
    ASSERT_TRUE(blocker.bind(QHostAddress::AnyIPv4, tftpPort, QAbstractSocket::DontShareAddress));
    TSNTPForm sntp(form.get());
    ASSERT_GE(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].text.startsWith("TFTP Service Init Error:"));
    EXPECT_EQ(sntp.exec(), QDialog::Rejected); // closes as soon as it is shown
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(listCommands().isEmpty());
}

} // namespace
