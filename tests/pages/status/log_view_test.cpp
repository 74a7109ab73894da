// "Status\Log" against the simulated device: the log ordered by SNMP, uploaded by TFTP and parsed
// into rows; clearing; a refused order reported; the lines as the page reads them.
#include "pages/status/log_view.h"
#include "pages/transfer/device_file.h"
#include "tests/support/page_window.h"
#include "tests/support/transfer_fixture.h"

#include <QDialog>
#include <QSignalSpy>
#include <QStatusBar>
#include <QUdpSocket>

namespace {

using test::devMibOid;

TEST(LogLines, SplitIntoTimeTypeAndMessage) {
    const struct {
        QString line;
        bool row;
        QString time, type, message;
    } cases[] = {
        {"Jan  1 00:00:01\t[SYS]Device started", true, "Jan  1 00:00:01", "SYS", "Device started"},
        {" 12:00 \t[WLAN] leading blanks kept", true, "12:00", "WLAN", " leading blanks kept"},
        {"t\t[SYS]two\ttabs [and] brackets", true, "t", "SYS", "two\ttabs [and] brackets"},
        {"t\tno type here", true, "t", "", "no type here"},
        {"t\t[unclosed type", true, "t", "", "[unclosed type"},
        {"no tab [SYS]x", true, "", "SYS", "x"},
        {"t\t[SYS]crlf\r", true, "t", "SYS", "crlf"},
        {"", false, "", "", ""},
        {"  \t ", false, "", "", ""},
        {"\r", false, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const auto row = TLogForm::parseLine(c.line);
        ASSERT_EQ(row.has_value(), c.row);
        if (!row)
            continue;
        EXPECT_EQ(row->time, c.time);
        EXPECT_EQ(row->type, c.type);
        EXPECT_EQ(row->message, c.message);
    }
}

class LogView : public test::PageWindow<TLogForm, test::TransferWindow> {
protected:
    void open() { showPage(); }
    QStringList row(int i) const {
        const QTreeWidgetItem* item = page->ui->ViewListView->topLevelItem(i);
        return item ? QStringList{item->text(0), item->text(1), item->text(2)} : QStringList{};
    }
    QString status() const { return page->ui->StatusBar1->currentMessage(); }
    // Presses "Get Log" and waits for the order to end.
    void getLog() {
        page->ui->GetBtn->click();
        ASSERT_TRUE(waitFor([&] { return !page->logFile()->waiting(); }));
    }
};

TEST_F(LogView, TheDevicesLogArrivesByTftpAndFillsTheRows) {
    start("recent");
    open();
    EXPECT_EQ(page->windowTitle(), "Status\\Log");
    getLog();
    EXPECT_EQ(status(), "");
    EXPECT_TRUE(page->ui->GetBtn->isEnabled());

    // The device's sample log: 40 entries over several blocks, with blank lines between groups.
    ASSERT_EQ(page->ui->ViewListView->topLevelItemCount(), 40);
    EXPECT_EQ(row(0), (QStringList{"Jan  1 00:00:00", "SYS", "Device started"}));
    EXPECT_EQ(row(1), (QStringList{"Jan  1 00:00:01", "WLAN",
                                   "Station 00:0F:3D:12:AB:01 associated [open system]"}));
    EXPECT_EQ(row(2), (QStringList{"Jan  1 00:00:02", "SYS", "Time synchronised with\t10.0.0.1"}));
    EXPECT_EQ(row(3), (QStringList{"Jan  1 00:00:03", "NOTICE", " Radio channel changed to 6"}));
    EXPECT_EQ(row(39), (QStringList{"Jan  1 00:00:39", "WLAN",
                                    "Station 00:0F:3D:12:AB:01 left (reason [8])"}));
    const auto transfers = events("transfer");
    ASSERT_EQ(transfers.size(), 1);
    EXPECT_EQ(transfers[0]["op"].toString(), "put");
    EXPECT_EQ(transfers[0]["result"].toString(), "ok");
    EXPECT_GT(transfers[0]["bytes"].toInt(), 3 * 512);
    EXPECT_EQ(sets().last(), devMibOid("2.11.4.0=127.0.0.1,") + devMibOid("2.11.5.0=LogFile.RD,") +
                                 devMibOid("2.11.6.0=1"));
}

TEST_F(LogView, ClearEmptiesTheDevicesLogAndTheRows) {
    start("recent");
    open();
    getLog();
    ASSERT_GT(page->ui->ViewListView->topLevelItemCount(), 0);
    page->ui->Clear_Btn->click();
    EXPECT_EQ(page->ui->ViewListView->topLevelItemCount(), 0);
    EXPECT_EQ(sets().last(), devMibOid("2.11.10.0=1"));
    EXPECT_EQ(events("log").size(), 1);

    getLog(); // the device's log is empty now
    EXPECT_EQ(page->ui->ViewListView->topLevelItemCount(), 0);
    EXPECT_EQ(status(), "");
}

TEST_F(LogView, ARefusedClearKeepsTheRows) {
    start("recent");
    open();
    getLog();
    const int rows = page->ui->ViewListView->topLevelItemCount();
    ASSERT_TRUE(sim->command("error devMib.2.11.10 5 set"));
    page->ui->Clear_Btn->click();
    EXPECT_EQ(page->ui->ViewListView->topLevelItemCount(), rows);
    EXPECT_NE(status(), "");
}

TEST_F(LogView, ARefusedOrderIsReportedAndTheOldFileGoes) {
    start("recent");
    open();
    getLog();
    const int rows = page->ui->ViewListView->topLevelItemCount();
    ASSERT_GT(rows, 0);
    const QString path = page->logFile()->path();
    ASSERT_TRUE(QFile::exists(path));

    ASSERT_TRUE(sim->command("error devMib.2.11.6 5 set"));
    page->ui->GetBtn->click();
    EXPECT_FALSE(page->logFile()->waiting());
    EXPECT_NE(status(), "");
    EXPECT_FALSE(QFile::exists(path)); // the earlier log cannot pass for this order's
    EXPECT_TRUE(page->ui->GetBtn->isEnabled());
    // What the operator last read stays on screen; only a log that arrives replaces it.
    EXPECT_EQ(page->ui->ViewListView->topLevelItemCount(), rows);
}

// Without its TFTP server the page can receive no log: it says so and closes as soon as it is
// shown, the module goes on, and no order is sent for a file nobody would take.
TEST_F(LogView, ATakenTftpPortClosesThePageNotTheModule) {
    start("recent");
    QUdpSocket blocker;
    ASSERT_TRUE(blocker.bind(QHostAddress::AnyIPv4, tftpPort, QAbstractSocket::DontShareAddress));
    sim->clearJournal();
    TLogForm log(form.get());
    ASSERT_GE(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].text.startsWith("TFTP Service Init Error:"));
    log.ui->GetBtn->click();
    EXPECT_TRUE(sets().isEmpty()) << sets().join("\n").toStdString();
    EXPECT_EQ(log.exec(), QDialog::Rejected);
    EXPECT_TRUE(form->isVisible());
}

} // namespace
