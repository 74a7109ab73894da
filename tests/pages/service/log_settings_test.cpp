// "Status \  Log Setting" against the simulated device: the log kinds and remote server, the
// SMTP settings behind their capability (only the value 1 counts), the checks, what Apply writes
// in which order, and the restart on a device without save-and-activate.
#include "pages/service/log_settings.h"
#include "tests/support/page_window.h"
#include "tests/support/wait_watcher.h"

#include <QJsonArray>
#include <QStatusBar>

namespace {

using test::devMibOid;

// The log list as one SET: system, wireless, notice, remote state, server.
QString logSet(const QString& remote, const QString& server, const QString& levels = "1,1,0") {
    const QStringList l = levels.split(',');
    return QStringList{devMibOid("2.11.1.0=" + l[0]), devMibOid("2.11.2.0=" + l[1]),
                       devMibOid("2.11.3.0=" + l[2]), devMibOid("2.11.8.0=" + remote),
                       devMibOid("2.11.9.0=" + server)}
        .join(",");
}
QString smtpSet(const QString& state, const QStringList& fields = {}) {
    QStringList binds{devMibOid("2.12.1.0=" + state)};
    for (int i = 0; i < fields.size(); ++i)
        binds << devMibOid(QStringLiteral("2.12.%1.0=").arg(i + 2) + fields[i]);
    return binds.join(",");
}

// The wait dialog's restart command on a device without save.
const QString kRestart = devMibOid("3.3.5.0=4");

class LogSettings : public test::PageWindow<TFM_LogSet> {
protected:
    void open(const QString& profile = "recent") { openOn(profile); }
    QString status() const { return page->ui->StatusBar1->currentMessage(); }
    bool askedForSmtp() const {
        for (const QJsonObject& pdu : sim->requests())
            for (const auto& vb : pdu["varbinds"].toArray())
                if (vb.toObject()["oid"].toString().startsWith(devMibOid("2.12.")))
                    return true;
        return false;
    }

    test::WaitWatcher waits;
};

TEST_F(LogSettings, ShowsTheSmtpGroupOnlyWhenTheCapabilityReadsOne) {
    struct Case {
        const char* profile;
        bool smtp;
    };
    for (const Case& c : {Case{"recent", true}, Case{"early", false}, Case{"smtp-flag-2", false}}) {
        SCOPED_TRACE(c.profile);
        page.reset();
        form.reset();
        sim.reset();
        start(c.profile);
        sim->clearJournal();
        showPage();
        EXPECT_EQ(page->windowTitle(), "Status \\  Log Setting");
        EXPECT_EQ(page->smtpSupported(), c.smtp);
        EXPECT_EQ(page->ui->GB_SMTP->isVisible(), c.smtp);
        EXPECT_EQ(askedForSmtp(), c.smtp);
        EXPECT_TRUE(page->ui->SysLevCeBox->isChecked());
        EXPECT_TRUE(page->ui->WirelessLevCeBox->isChecked());
        EXPECT_FALSE(page->ui->NoticeLevCeBox->isChecked());
        EXPECT_EQ(page->ui->LogServerEdit->text(), ""); // 0.0.0.0 is never shown
        EXPECT_EQ(page->ui->La_LogServer->buddy(), page->ui->LogServerEdit);

        sim->clearJournal();
        page->ui->Bt_Apply->click();
        QStringList expected{logSet("0", "0.0.0.0")};
        if (c.smtp)
            expected << smtpSet("1");
        if (QString(c.profile) == "early")
            expected << kRestart; // no save on this device: the wait dialog restarts it
        EXPECT_EQ(sets(), expected);
        EXPECT_EQ(status(), "Set Success!");
    }
}

TEST_F(LogSettings, TheRemoteServerDecidesRemoteLogging) {
    open();
    struct Case {
        const char* server;
        const char* message; // nullptr: accepted
        const char* written;
        const char* remote;
        const char* shownAfter;
    };
    const Case cases[] = {
        {"", nullptr, "0.0.0.0", "0", ""},
        {"10.1.1.5", nullptr, "10.1.1.5", "1", "10.1.1.5"},
        {"10.0.0.255", "Please input valid IP Address.", nullptr, nullptr, ""},
        {"224.0.0.1", "Please input valid IP Address.", nullptr, nullptr, ""},
        {"log.example", "Please input valid IP Address.", nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        sim->clearJournal();
        prompter.shown.clear();
        page->ui->LogServerEdit->setText(c.server);
        page->ui->Bt_Apply->click();
        if (c.message) {
            ASSERT_EQ(prompter.shown.size(), 1);
            EXPECT_EQ(prompter.shown[0].caption, "Warning");
            EXPECT_EQ(prompter.shown[0].text, c.message);
            EXPECT_TRUE(sets().isEmpty());
        } else {
            EXPECT_TRUE(prompter.shown.isEmpty());
            EXPECT_EQ(sets(), (QStringList{logSet(c.remote, c.written), smtpSet("1")}));
        }
        EXPECT_EQ(page->ui->LogServerEdit->text(), c.shownAfter);
    }
}

TEST_F(LogSettings, SmtpFieldsAreCheckedAndWrittenOnlyWhenEnabled) {
    open();
    struct Case {
        const char* server;
        const char* sender;
        const char* recipient;
        const char* message; // nullptr: accepted
        QLineEdit* Ui::TFM_LogSet::*emptied;
    };
    const Case cases[] = {
        {"", "ap@lab", "ops@lab", "Please input valid IP Address.", &Ui::TFM_LogSet::EDT_Server},
        {"10.1.1.300", "ap@lab", "ops@lab", "Please input valid IP Address.",
         &Ui::TFM_LogSet::EDT_Server},
        {"10.1.1.9", "", "ops@lab", "You must input SMTP Sender!", &Ui::TFM_LogSet::EDT_Sender},
        {"10.1.1.9", "ap@lab", "", "You must input SMTP Recipient!",
         &Ui::TFM_LogSet::EDT_Recipient},
        {"10.1.1.9", "ap@lab", "ops@lab", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message ? c.message : "accepted");
        sim->clearJournal();
        prompter.shown.clear();
        page->ui->CB_SMTPStatus->setChecked(true);
        EXPECT_TRUE(page->ui->EDT_Sender->isEnabled());
        page->ui->EDT_Server->setText(c.server);
        page->ui->EDT_Sender->setText(c.sender);
        page->ui->EDT_Recipient->setText(c.recipient);
        page->ui->Bt_Apply->click();
        if (c.message) {
            ASSERT_EQ(prompter.shown.size(), 1);
            EXPECT_EQ(prompter.shown[0].text, c.message);
            EXPECT_EQ(prompter.shown[0].caption, "Warning");
            EXPECT_TRUE(sets().isEmpty());
            EXPECT_TRUE((page->ui.get()->*c.emptied)->text().isEmpty());
            EXPECT_EQ(page->ui->LogServerEdit->text(), "");
        } else {
            EXPECT_EQ(sets(), (QStringList{logSet("0", "0.0.0.0"),
                                           smtpSet("2", {"10.1.1.9", "ap@lab", "ops@lab"})}));
            EXPECT_TRUE(page->ui->CB_SMTPStatus->isChecked()); // read back
            EXPECT_EQ(page->ui->EDT_Sender->text(), "ap@lab");
        }
    }
    // Switched off: the state alone, whatever the fields hold.
    sim->clearJournal();
    prompter.shown.clear();
    page->ui->CB_SMTPStatus->setChecked(false);
    EXPECT_FALSE(page->ui->EDT_Server->isEnabled());
    page->ui->EDT_Server->setText("not an address");
    page->ui->Bt_Apply->click();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_EQ(sets(), (QStringList{logSet("0", "0.0.0.0"), smtpSet("1")}));
    EXPECT_EQ(page->ui->EDT_Server->text(), "10.1.1.9"); // the device's, read again
}

TEST_F(LogSettings, AFailedLogWriteSkipsSmtpAndTheRestart) {
    struct Case {
        const char* profile;
        const char* fault;
        QStringList written;
        const char* status;
        int waits;
    };
    const Case cases[] = {
        {"early", nullptr, {logSet("1", "10.1.1.5"), kRestart}, "Set Success!", 1},
        {"early", "error devMib.2.11 5 set", {logSet("1", "10.1.1.5")}, "Set Error!", 0},
        {"recent", "error devMib.2.11 5 set", {logSet("1", "10.1.1.5")}, "Set Error!", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + (c.fault ? " refused" : ""));
        page.reset();
        form.reset();
        sim.reset();
        waits.seen.clear();
        open(c.profile);
        if (c.fault) {
            ASSERT_TRUE(sim->command(c.fault));
        }
        page->ui->LogServerEdit->setText("10.1.1.5");
        page->ui->Bt_Apply->click();
        EXPECT_EQ(sets(), c.written);
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(waits.seen.size(), c.waits);
    }
}

} // namespace
