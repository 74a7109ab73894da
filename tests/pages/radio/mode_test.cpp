// "Advanced \ Mode" against the simulated device: which remote addresses each mode makes writable
// and writes, the repeated-address and length checks, the restart count-down after every
// accepted change, and what Refresh reads afterwards.
#include "pages/radio/mode.h"
#include "tests/support/page_window.h"
#include "tests/support/wait_watcher.h"

#include <QComboBox>
#include <QStatusBar>
#include <QTabWidget>

namespace {

using test::devMibOid;

const QString kNone = TFM_ModeCFG::kNoAddress;

// One SET as the device saw it: the mode, then the remote entries given (1-based: address).
QString modeSet(int mode, const QList<QPair<int, QString>>& entries = {}) {
    QStringList binds{devMibOid("2.1.1.1.1=") + QString::number(mode)};
    for (const auto& [entry, mac] : entries)
        binds << devMibOid("2.2.1.2.1.%1=%2").arg(entry).arg(mac);
    return binds.join(",");
}

class ModePage : public test::PageWindow<TFM_ModeCFG> {
protected:
    void open(const QString& profile = "wireless-compact", const QStringList& before = {}) {
        openOn(profile, before);
    }
    QLineEdit* mac(int i) const {
        return page->findChild<QLineEdit*>(QStringLiteral("Ed_ReMAddra%1").arg(i));
    }
    void setMacs(const QStringList& texts) {
        for (int i = 0; i < 8; ++i)
            mac(i)->setText(texts.value(i));
    }
    QStringList macTexts() const {
        QStringList out;
        for (int i = 0; i < 8; ++i)
            out << mac(i)->text();
        return out;
    }
    QStringList macSets() const { return sets({"2.2.1.2"}); }
    QString status() const { return page->ui->StatusBar->currentMessage(); }

    test::WaitWatcher waits;
};

TEST_F(ModePage, OpensOnRadioOneWithEmptyEntriesShownEmpty) {
    open("wireless-compact", {"define devMib.2.2.1.2.1.2 hex rw 00AABBCC0002 size=6"});
    EXPECT_EQ(page->windowTitle(), "Advanced \\ Mode");
    EXPECT_EQ(page->ui->PC_Mode->tabText(0), "IEEE 802.11g");
    EXPECT_FALSE(page->ui->PC_Mode->isTabVisible(1));
    EXPECT_EQ(page->ui->CB_11a_APM->currentText(), "Access Point");
    EXPECT_EQ(page->ui->CB_11a_APM->count(), 3);
    EXPECT_EQ(macTexts(), (QStringList{"", "00AABBCC0002", "", "", "", "", "", ""}));
    EXPECT_EQ(page->ui->Label3->buddy(), page->ui->CB_11a_APM);
    EXPECT_EQ(page->ui->Label5->buddy(), mac(0));
}

TEST_F(ModePage, EachModeMakesItsAddressesWritable) {
    open();
    struct Case {
        const char* mode;
        int writable; // the first n edits
    };
    for (const Case& c : {Case{"PtP Bridge", 1}, Case{"PtMP Bridge", 8}, Case{"Access Point", 0}}) {
        SCOPED_TRACE(c.mode);
        page->ui->CB_11a_APM->setCurrentText(c.mode);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(mac(i)->isReadOnly(), i >= c.writable) << i;
    }
}

TEST_F(ModePage, ApplyWritesTheAddressesOfTheModeAndCountsDownAfterEverySuccess) {
    open();
    const QString a = "00AABBCC0001", b = "00AABBCC0002";
    struct Case {
        const char* mode;
        QStringList typed;
        QString set;
        QStringList shownAfter;
    };
    const Case cases[] = {
        // Access point: the mode alone, whatever the fields hold.
        {"Access Point", {a, b}, modeSet(1), {a, b, "", "", "", "", "", ""}},
        // PtP: entry 1 only; an empty first field is written as "no address" and shown empty.
        {"PtP Bridge", {"", b}, modeSet(2, {{1, kNone}}), {"", b, "", "", "", "", "", ""}},
        {"PtP Bridge", {a}, modeSet(2, {{1, a}}), {a, "", "", "", "", "", "", ""}},
        // PtMP: all eight, empty ones as "no address", shown empty afterwards.
        {"PtMP Bridge",
         {a},
         modeSet(3, {{1, a},
                     {2, kNone},
                     {3, kNone},
                     {4, kNone},
                     {5, kNone},
                     {6, kNone},
                     {7, kNone},
                     {8, kNone}}),
         {a, "", "", "", "", "", "", ""}},
    };
    int applied = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(QString(c.mode + QString(" ") + c.typed.join("/")).toStdString());
        sim->clearJournal();
        page->ui->CB_11a_APM->setCurrentText(c.mode);
        setMacs(c.typed);
        page->ui->Bt_Apply->click();
        EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
        ASSERT_FALSE(macSets().isEmpty());
        EXPECT_EQ(macSets().first(), c.set);
        EXPECT_EQ(status(), "IEEE802.11g Setting Success!");
        EXPECT_EQ(macTexts(), c.shownAfter);
        EXPECT_EQ(waits.seen.size(), ++applied);
    }
}

TEST_F(ModePage, RepeatedAndShortAddressesAreRefusedBeforeAnythingIsSent) {
    open();
    struct Case {
        const char* mode;
        QStringList typed;
        QString message;
        int focus;              // edit that gets the focus, -1 none expected
        QStringList shownAfter; // the fields after the refusal
        QString status;
    };
    const QString a = "00AABBCC0001";
    const Case cases[] = {
        // Repeats count in every mode, read-only fields too; the later one gets the focus.
        {"Access Point", {a, "", "", a}, "Exsit same MAC address.", 3, {a, "", "", a}, ""},
        {"PtMP Bridge",
         {"", "00AABBCC0009", "", "", "", "", "00AABBCC0009"},
         "Exsit same MAC address.",
         6,
         {"", "00AABBCC0009", "", "", "", "", "00AABBCC0009", ""},
         ""},
        {"PtP Bridge",
         {"00AABBCC001"},
         "The length is 12 in IEEE802.11g Root AP MAC Address.",
         -1,
         {"00AABBCC001"},
         "IEEE802.11g Setting Error!"},
        // PtMP: a short first field is emptied, a short later one keeps its text.
        {"PtMP Bridge",
         {"00AABBCC001"},
         "The length is 12 in IEEE802.11g MAC address.",
         -1,
         {"", kNone, kNone, kNone, kNone, kNone, kNone, kNone},
         "IEEE802.11g Setting Error!"},
        {"PtMP Bridge",
         {a, "", "00AABBCC003"},
         "The length is 12 in IEEE802.11g MAC address.",
         -1,
         {a, kNone, "00AABBCC003", kNone, kNone, kNone, kNone, kNone},
         "IEEE802.11g Setting Error!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString(c.mode + QString(" ") + c.typed.join("/")).toStdString());
        prompter.shown.clear();
        page->ui->StatusBar->clearMessage();
        page->ui->CB_11a_APM->setCurrentText(c.mode);
        setMacs(c.typed);
        page->ui->Bt_Apply->click();
        EXPECT_EQ(prompter.texts(), QStringList{c.message});
        if (c.focus >= 0) {
            EXPECT_EQ(page->focusWidget(), mac(c.focus));
        }
        QStringList expected = c.shownAfter;
        while (expected.size() < 8)
            expected << "";
        EXPECT_EQ(macTexts(), expected);
        EXPECT_EQ(status(), c.status);
    }
    EXPECT_TRUE(sets().isEmpty());
    EXPECT_TRUE(waits.seen.isEmpty());
}

TEST_F(ModePage, UpperAndLowerCaseOfOneAddressAreNotARepeat) {
    open();
    page->ui->CB_11a_APM->setCurrentText("PtMP Bridge");
    setMacs({"00aabbcc0001", "00AABBCC0001"});
    page->ui->Bt_Apply->click();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    ASSERT_EQ(macSets().size(), 1);
    EXPECT_TRUE(macSets().first().contains(devMibOid("2.2.1.2.1.1=00AABBCC0001")));
    EXPECT_TRUE(macSets().first().contains(devMibOid("2.2.1.2.1.2=00AABBCC0001")));
}

// After an Apply that left addresses out, Refresh shows the device's entries again.
TEST_F(ModePage, RefreshAfterAnApplyShowsTheDevicesAddresses) {
    open();
    for (const char* mode : {"Access Point", "PtP Bridge"}) {
        SCOPED_TRACE(mode);
        page->ui->CB_11a_APM->setCurrentText(mode);
        setMacs({"00AABBCC0001"});
        page->ui->Bt_Apply->click();
        ASSERT_EQ(status(), "IEEE802.11g Setting Success!");
        ASSERT_TRUE(sim->command("define devMib.2.2.1.2.1.1 hex rw 00AABBCC00F1 size=6"));
        ASSERT_TRUE(sim->command("define devMib.2.2.1.2.1.8 hex rw 00AABBCC00F8 size=6"));
        page->ui->Bt_Refresh->click();
        EXPECT_EQ(mac(0)->text(), "00AABBCC00F1");
        EXPECT_EQ(mac(7)->text(), "00AABBCC00F8");
        ASSERT_TRUE(sim->command("define devMib.2.2.1.2.1.8 hex rw 000000000000 size=6"));
    }
}

TEST_F(ModePage, AModeOutsideTheListIsNeverWritten) {
    open("wireless-compact", {"set devMib.2.1.1.1.1 4"});
    EXPECT_EQ(page->ui->CB_11a_APM->currentIndex(), -1);
    page->ui->Bt_Apply->click();
    EXPECT_EQ(prompter.texts(), QStringList{"Please select a value for AP Mode."});
    EXPECT_TRUE(sets().isEmpty());
    EXPECT_TRUE(waits.seen.isEmpty());
}

TEST_F(ModePage, ARefusedSetShowsTheErrorAndNoCountDown) {
    open("early");
    ASSERT_TRUE(sim->command("error devMib.2.1.1.1 10 set"));
    page->ui->CB_11a_APM->setCurrentText("PtP Bridge");
    setMacs({"00AABBCC0001"});
    page->ui->Bt_Apply->click();
    EXPECT_EQ(status(), "IEEE802.11g Setting Error!");
    EXPECT_TRUE(waits.seen.isEmpty());
}

} // namespace
