// The LAN page against the simulated device: what it checks before it hands a new address to the
// device (field checks, the DHCP pool compared without sign, the echo probe, the static leases),
// what it writes and in which order, and the restart that follows.
#include "pages/radio/lan.h"
#include "platform/events.h"
#include "tests/support/page_window.h"
#include "tests/support/scripted_echo.h"
#include "tests/support/wait_watcher.h"

#include <QComboBox>
#include <QJsonArray>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

using platform::ProbeOutcome;
using test::devMibOid;

// The varbinds of every SET as "oid=value", one string per PDU, for the LAN objects.
QString lanSet(const QString& from, const QString& ip, const QString& mask, const QString& gw,
               const QString& restart) {
    QStringList binds{devMibOid("1.2.1.0=" + from)};
    if (!ip.isEmpty())
        binds << devMibOid("1.2.2.0=" + ip) << devMibOid("1.2.3.0=" + mask)
              << devMibOid("1.2.4.0=" + gw);
    binds << devMibOid("3.2.1.0=" + restart);
    return binds.join(",");
}
const QString kPortTypeAuto = devMibOid("1.2.5.0=0");

class LanPage : public test::PageWindow<TFM_LanCfg> {
protected:
    void open(const QString& profile = "recent") {
        start(profile);
        openPage();
    }
    // A page on the running device, once its asynchronous pool read has arrived.
    void openPage() {
        showPage();
        ASSERT_TRUE(kwtest::SimDevice::waitUntil(
            [&] { return !page->ui->Ed_IPAF->text().isEmpty(); }, 5000));
        sim->clearJournal();
        prompter.shown.clear();
    }
    void enterAddress(const QString& ip, const QString& mask = "255.255.255.0",
                      const QString& gw = "10.1.1.254") {
        page->ui->ED_IpAddr->setText(ip);
        page->ui->ED_SubMask->setText(mask);
        page->ui->ED_DefGw->setText(gw);
    }
    QString status() const { return page->ui->StatusBar->currentMessage(); }
    // Whether the page read the static DHCP table since the journal was cleared.
    bool walkedStaticTable() const {
        for (const QJsonObject& pdu : sim->requests("getnext"))
            for (const auto& vb : pdu["varbinds"].toArray())
                if (vb.toObject()["oid"].toString().startsWith(devMibOid("2.7.3.1")))
                    return true;
        return false;
    }
    // Whether the page read its LAN list again since the journal was cleared.
    bool rereadLan() const {
        for (const QJsonObject& pdu : sim->requests("get"))
            for (const auto& vb : pdu["varbinds"].toArray())
                if (vb.toObject()["oid"].toString() == devMibOid("1.2.2.0"))
                    return true;
        return false;
    }

    test::ScriptedEchoProbe probe;
    test::WaitWatcher waits;
};

TEST_F(LanPage, OpensWithTheDeviceSettingsAndLeavesOutAPortTypeTheDeviceLacks) {
    open("recent");
    EXPECT_EQ(page->windowTitle(), "Home \\ LAN");
    EXPECT_EQ(page->ui->CB_IPFrom->currentText(), "Static (Manual)");
    EXPECT_EQ(page->ui->ED_IpAddr->text(), sim->address());
    EXPECT_EQ(page->storedAddress(), sim->address());
    EXPECT_EQ(page->ui->ED_SubMask->text(), "255.0.0.0");
    EXPECT_EQ(page->ui->ED_DefGw->text(), "127.0.0.254");
    EXPECT_EQ(page->ui->Ed_IPAF->text(), "192.168.0.100");
    EXPECT_EQ(page->ui->Ed_PoolRan->text(), "20");
    EXPECT_TRUE(page->portTypeRead());
    EXPECT_FALSE(page->ui->CB_PortType->isHidden());
    EXPECT_EQ(page->ui->CB_PortType->currentText(), "Auto");
    EXPECT_EQ(page->ui->Label1->buddy(), page->ui->CB_PortType);
    EXPECT_EQ(page->ui->LA_IPAddress->buddy(), page->ui->ED_IpAddr);

    page.reset();
    form.reset();
    sim.reset();
    open("no-port-type");
    EXPECT_FALSE(page->portTypeRead());
    EXPECT_TRUE(page->ui->CB_PortType->isHidden());
    EXPECT_TRUE(page->ui->Label1->isHidden());
    EXPECT_EQ(page->ui->ED_IpAddr->text(), sim->address());
}

TEST_F(LanPage, FieldChecksRefuseInOrderAndClearTheFaultyField) {
    open();
    struct Case {
        const char* ip;
        const char* mask;
        const char* gw;
        const char* message;
        QLineEdit* Ui::TFM_LanCfg::*field;
    };
    const Case cases[] = {
        {"", "255.255.255.0", "10.1.1.254", "Please input valid IP Address.",
         &Ui::TFM_LanCfg::ED_IpAddr},
        {"10.1.1.0.5", "255.255.255.0", "10.1.1.254", "Please input valid IP Address.",
         &Ui::TFM_LanCfg::ED_IpAddr},
        {"10.1.1.255", "0.0.0.0", "", "Please input valid IP Address.", &Ui::TFM_LanCfg::ED_IpAddr},
        {"10.1.1.5", "255.0.255.0", "", "Please input valid Subnet Mask.",
         &Ui::TFM_LanCfg::ED_SubMask},
        {"10.1.1.5", "", "10.1.1.254", "Please input valid Subnet Mask.",
         &Ui::TFM_LanCfg::ED_SubMask},
        {"10.1.1.5", "255.255.255.0", "", "Please input valid Gateway.", &Ui::TFM_LanCfg::ED_DefGw},
        {"10.1.1.5", "255.255.255.0", "10.1.1.0", "Please input valid Gateway.",
         &Ui::TFM_LanCfg::ED_DefGw},
    };
    for (const Case& c : cases) {
        enterAddress(c.ip, c.mask, c.gw);
        prompter.shown.clear();
        page->BT_LanCfgOkClick();
        ASSERT_EQ(prompter.shown.size(), 1) << c.ip << " " << c.mask << " " << c.gw;
        EXPECT_EQ(prompter.shown[0].caption, "Warning");
        EXPECT_EQ(prompter.shown[0].text, c.message) << c.ip << " " << c.mask << " " << c.gw;
        EXPECT_TRUE((page->ui.get()->*c.field)->text().isEmpty()) << c.message;
    }
    EXPECT_TRUE(probe.probed.isEmpty());
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(LanPage, PoolConflictComparesAddressesAsUnsignedNumbers) {
    start("recent");
    struct Case {
        const char* start;
        const char* range;
        const char* address;
        bool inPool;
    };
    const Case cases[] = {
        {"192.168.0.100", "20", "192.168.0.119", true},
        {"192.168.0.100", "20", "192.168.0.100", true},
        {"192.168.0.100", "20", "192.168.0.120", false},
        {"192.168.0.100", "20", "192.168.0.99", false},
        {"192.168.0.100", "0", "192.168.0.100", false},
        // Across 2^31: a signed comparison sees the end of the pool below its start.
        {"127.255.255.250", "10", "128.0.0.2", true},
        {"127.255.255.250", "10", "127.255.255.249", false},
        {"127.255.255.250", "10", "128.0.0.4", false},
        {"10.0.0.1", "255", "200.0.0.1", false},
    };
    for (const Case& c : cases) {
        const std::string label =
            QString("%1+%2: %3").arg(c.start, c.range, c.address).toStdString();
        ASSERT_TRUE(sim->command(QString("set devMib.2.7.2.1.0 %1").arg(c.start)));
        ASSERT_TRUE(sim->command(QString("set devMib.2.7.2.2.0 %1").arg(c.range)));
        openPage();
        probe.probed.clear();
        // An address that passes the pool check stops at the probe.
        probe.outcomes = {ProbeOutcome::InUse};
        enterAddress(c.address, "255.0.0.0", "10.1.1.254");
        page->BT_LanCfgOkClick();
        ASSERT_EQ(prompter.shown.size(), 1) << label;
        EXPECT_EQ(prompter.shown[0].text,
                  c.inPool ? "Reject: The IP conflicts with Dynamic DHCP Server IP"
                           : "Reject: The IP already has been used.")
            << label;
        EXPECT_EQ(probe.probed, c.inPool ? QStringList() : QStringList{c.address}) << label;
        // Either way the fields return to the device's values.
        EXPECT_TRUE(rereadLan()) << label;
        EXPECT_EQ(page->ui->ED_IpAddr->text(), sim->address()) << label;
        EXPECT_TRUE(sets().isEmpty()) << label;
    }
}

TEST_F(LanPage, AnApplyBeforeThePoolHasArrivedWaitsForIt) {
    start("recent");
    ASSERT_TRUE(sim->command("delay devMib.2.7.2 1500 get"));
    showPage();
    ASSERT_TRUE(page->ui->Ed_IPAF->text().isEmpty());
    sim->clearJournal();
    enterAddress("192.168.0.105");
    page->BT_LanCfgOkClick();
    EXPECT_EQ(page->ui->Ed_IPAF->text(), "192.168.0.100");
    EXPECT_EQ(prompter.texts(),
              QStringList{"Reject: The IP conflicts with Dynamic DHCP Server IP"});
    EXPECT_TRUE(probe.probed.isEmpty());
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(LanPage, UnchangedAddressIsWrittenWithoutProbeOrStaticTableRead) {
    open("recent"); // save-and-activate: no restart count-down
    page->ui->ED_DefGw->setText("127.0.0.253");
    page->BT_LanCfgOkClick();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(probe.probed.isEmpty());
    EXPECT_FALSE(walkedStaticTable());
    EXPECT_TRUE(waits.seen.isEmpty());
    EXPECT_EQ(sets(), (QStringList{lanSet("1", sim->address(), "255.0.0.0", "127.0.0.253", "0"),
                                   kPortTypeAuto}));
    EXPECT_EQ(status(), "Set Success!");
}

TEST_F(LanPage, NewAddressIsProbedCheckedAgainstStaticLeasesWrittenAndTheDeviceRestarts) {
    open("early"); // no save-and-activate: the change takes effect by a restart
    // The real probe logic over a fake socket: only a reply to somebody else's ping comes back,
    // which must not count.
    size_t sends = 0;
    platform::TransportEchoProbe foreignOnly(
        [&](QString*) {
            return std::make_unique<test::ScriptedTransport>(
                std::vector<std::vector<QByteArray>>(3, {test::echoReply(0, 1111, 0, false)}),
                QHostAddress("10.1.1.5"), sends);
        },
        3, 20);
    platform::setEchoProbe(&foreignOnly);
    enterAddress("10.1.1.5");
    page->ui->CB_PortType->setCurrentIndex(1);
    page->BT_LanCfgOkClick();
    platform::setEchoProbe(&probe);

    EXPECT_EQ(sends, 3u);
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_TRUE(walkedStaticTable());
    EXPECT_EQ(page->ui->Static_ListView->topLevelItemCount(), 8); // every slot, free ones included
    ASSERT_EQ(waits.seen.size(), 2);
    EXPECT_EQ(waits.seen[0].label2, "Please wait...");
    EXPECT_EQ(waits.seen[0].label3, "Judge the IP whether can be used.");
    EXPECT_EQ(waits.seen[0].secondsLeft, 12);
    EXPECT_FALSE(waits.seen[0].sendReboot);
    EXPECT_EQ(waits.seen[1].label3, "The system IP will be 10.1.1.5");
    EXPECT_EQ(waits.seen[1].secondsLeft, 5);
    EXPECT_TRUE(waits.seen[1].sendReboot);
    EXPECT_EQ(status(), "Set Success!");
    // The LAN list, the port type, then the wait dialog's restart command.
    EXPECT_EQ(sets(), (QStringList{lanSet("1", "10.1.1.5", "255.255.255.0", "10.1.1.254", "0"),
                                   devMibOid("1.2.5.0=1"), devMibOid("3.3.5.0=4")}));

    // The restarted device runs with the new address and still answers where it did.
    ASSERT_TRUE(kwtest::SimDevice::waitUntil(
        [&] { return sim->value("devMib.1.2.2.0")["active"].toString() == "10.1.1.5"; }, 8000));
    ASSERT_TRUE(kwtest::SimDevice::waitUntil(
        [&] {
            auto r = kwtest::runSnmpTool("snmpget", sim->toolArgs(kwtest::SimDevice::v2c(), 0.3)
                                                        << devMibOid("4.1.1.4.0"));
            return r.exitCode == 0 && r.out.contains("10.1.1.5");
        },
        8000));
}

TEST_F(LanPage, AddressOfAStaticLeaseOrAnUnreadableLeaseTableIsRefused) {
    open("recent");
    struct Case {
        const char* name;
        const char* address;
        const char* fault; // injected into the static table read
        const char* message;
    };
    const Case cases[] = {
        {"static lease", "192.168.0.30", nullptr,
         "Reject: The IP conflicts with Static DHCP Server IP"},
        {"table unreadable", "10.1.1.5", "error devMib.2.7.3 5 get",
         "Reject: The static DHCP table could not be read."},
    };
    for (const Case& c : cases) {
        if (c.fault) {
            ASSERT_TRUE(sim->command(c.fault));
        }
        sim->clearJournal();
        prompter.shown.clear();
        waits.seen.clear();
        enterAddress(c.address, "255.255.255.0", "192.168.0.1");
        page->BT_LanCfgOkClick();
        EXPECT_EQ(waits.seen.size(), 1) << c.name; // the twelve seconds for the table
        ASSERT_FALSE(prompter.shown.isEmpty()) << c.name;
        EXPECT_EQ(prompter.shown.last().text, c.message) << c.name;
        EXPECT_EQ(prompter.shown.last().caption, "Warning") << c.name;
        EXPECT_TRUE(sets().isEmpty()) << c.name;
        EXPECT_EQ(page->ui->ED_IpAddr->text(), sim->address()) << c.name;
        ASSERT_TRUE(sim->command("clear"));
    }
}

TEST_F(LanPage, AnAddressThatAnswersIsRefusedBeforeTheTableIsRead) {
    open("recent");
    probe.outcomes = {ProbeOutcome::InUse};
    enterAddress("10.1.1.5");
    page->BT_LanCfgOkClick();
    EXPECT_EQ(probe.probed, QStringList{"10.1.1.5"});
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, "Reject: The IP already has been used.");
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_FALSE(walkedStaticTable());
    EXPECT_TRUE(sets().isEmpty());
    EXPECT_EQ(page->ui->ED_IpAddr->text(), sim->address());
    EXPECT_EQ(page->focusWidget(), page->ui->ED_IpAddr);
}

TEST_F(LanPage, TheRealProbeFindsALoopbackAddressInUse) {
    QString error;
    if (!platform::openEchoTransport(&error))
        GTEST_SKIP() << error.toStdString();
    open("recent");
    platform::setEchoProbe(nullptr); // the system probe
    enterAddress("127.0.0.1", "255.0.0.0", "127.0.0.254");
    page->BT_LanCfgOkClick();
    platform::setEchoProbe(&probe);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].text, "Reject: The IP already has been used.");
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(LanPage, SwitchingToDhcpAsksFirstAndWritesNoAddress) {
    struct Case {
        const char* profile;
        bool waitDialog; // the wait dialog with its defaults, only with save-and-activate
    };
    for (const Case& c : {Case{"recent", true}, Case{"early", false}}) {
        open(c.profile);
        page->ui->CB_IPFrom->setCurrentIndex(1);
        page->CB_IPFromChange();
        EXPECT_TRUE(page->ui->ED_IpAddr->isHidden());
        EXPECT_TRUE(page->ui->LA_DefGW->isHidden());
        EXPECT_EQ(page->addressMode(), 1);

        prompter.answers = {platform::Answer::Cancel};
        page->BT_LanCfgOkClick();
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].text, "Device will reboot,continue?");
        EXPECT_EQ(prompter.shown[0].caption, "Warning");
        EXPECT_EQ(prompter.shown[0].buttons, platform::Buttons::OkCancel);
        EXPECT_TRUE(sets().isEmpty()) << c.profile;

        page->BT_LanCfgOkClick(); // OK
        EXPECT_EQ(sets(), (QStringList{lanSet("2", "", "", "", "1"), kPortTypeAuto})) << c.profile;
        EXPECT_EQ(status(), "Set Success!");
        EXPECT_EQ(page->ui->ED_Restart->currentText(), "nothing");
        ASSERT_EQ(waits.seen.size(), c.waitDialog ? 1 : 0) << c.profile;
        if (c.waitDialog) {
            EXPECT_EQ(waits.seen[0].label3, "The device is restarting.");
            EXPECT_EQ(waits.seen[0].secondsLeft, 25);
        }
        // The device restarts on its own (the restart variable went with the LAN list).
        EXPECT_TRUE(kwtest::SimDevice::waitUntil(
            [&] {
                for (const QJsonObject& line : sim->journal())
                    if (line["event"].toString() == "restart")
                        return true;
                return false;
            },
            3000))
            << c.profile;
        page.reset();
        form.reset();
        sim.reset();
        waits.seen.clear();
    }
}

TEST_F(LanPage, AFailedDhcpApplyLeavesNoRestartForTheNextStaticApply) {
    open("recent");
    ASSERT_TRUE(sim->command("error devMib.1.2 5 set"));
    page->ui->CB_IPFrom->setCurrentIndex(1);
    page->CB_IPFromChange();
    page->BT_LanCfgOkClick();
    EXPECT_EQ(status(), "Set Error!");

    ASSERT_TRUE(sim->command("clear"));
    sim->clearJournal();
    page->ui->CB_IPFrom->setCurrentIndex(0);
    page->CB_IPFromChange();
    page->BT_LanCfgOkClick();
    EXPECT_EQ(status(), "Set Success!");
    ASSERT_FALSE(sets().isEmpty());
    EXPECT_EQ(sets().first(), lanSet("1", sim->address(), "255.0.0.0", "127.0.0.254", "0"));
}

TEST_F(LanPage, APortTypeTheDeviceLacksIsNotWrittenSoTheRestartStillFollows) {
    open("no-port-type");
    page->ui->ED_DefGw->setText("127.0.0.253");
    page->BT_LanCfgOkClick();
    EXPECT_EQ(status(), "Set Success!");
    EXPECT_EQ(sets(), (QStringList{lanSet("1", sim->address(), "255.0.0.0", "127.0.0.253", "0"),
                                   devMibOid("3.3.5.0=4")}));
    ASSERT_EQ(waits.seen.size(), 1);
    EXPECT_EQ(waits.seen[0].label3, "The system IP will be " + sim->address());
    EXPECT_EQ(waits.seen[0].secondsLeft, 5);
}

TEST_F(LanPage, AProbeThatCannotRunIsReportedAndTheChangeGoesOn) {
    open("recent");
    struct Case {
        ProbeOutcome outcome;
        const char* message;
        const char* caption;
    };
    const Case cases[] = {
        {ProbeOutcome::Unresolved, "Unable to resolve 10.1.1.5", ""},
        {ProbeOutcome::Unavailable, "The address could not be probed: ", "Warning"},
    };
    for (const Case& c : cases) {
        sim->clearJournal();
        prompter.shown.clear();
        probe.outcomes = {c.outcome};
        enterAddress("10.1.1.5");
        page->BT_LanCfgOkClick();
        ASSERT_FALSE(prompter.shown.isEmpty());
        EXPECT_EQ(prompter.shown[0].text, c.message);
        EXPECT_EQ(prompter.shown[0].caption, c.caption);
        // Counted as not in use: the static leases are read and the change is written.
        EXPECT_TRUE(walkedStaticTable());
        ASSERT_FALSE(sets().isEmpty());
        EXPECT_EQ(sets().first(), lanSet("1", "10.1.1.5", "255.255.255.0", "10.1.1.254", "0"));
        EXPECT_EQ(status(), "Set Success!");
    }
}

} // namespace
