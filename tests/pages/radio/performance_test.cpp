// "Advanced \ Performance" against a simulated device without multiple SSIDs: the ranges of the
// radio settings at their boundaries, the data rate between device and list, the b/g mode's
// rules, the rows of optional settings, the data-rate table with its fixed states, and what Apply
// writes in which order; a refused write of the data-rate control or of a rate row ends the
// sequence as an error without a restart.
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/radio/performance.h"
#include "tests/support/page_window.h"
#include "tests/support/wait_watcher.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

using test::devMibOid;

constexpr int kRates = 12;

// "devMib.2.13.1.2.1.<row>=<state>" for each row in turn.
QStringList rowSets(const QList<int>& states) {
    QStringList out;
    for (int row = 0; row < states.size(); ++row)
        out << devMibOid("2.13.1.2.1.%1=%2").arg(row + 1).arg(states[row]);
    return out;
}

class PerformancePage : public test::PageWindow<TFM_Performace> {
protected:
    void open(const QStringList& before = {}, const QString& profile = "early") {
        start(profile);
        reopen(before);
    }
    // The page opened again on the same device, after `before` changed it.
    void reopen(const QStringList& before = {}) {
        reopenPage(before, [&] { return rateTableRead(); });
        waits.seen.clear();
    }
    // Devices with data-rate control read the rate table in the background; the page is ready
    // when it has ended.
    bool rateTableRead() const {
        return !page->dataRateControl() || page->ui->Bt_Refresh_a->isEnabled();
    }
    void waitForRateTable() {
        ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return rateTableRead(); }, 20000));
    }
    void choose(QComboBox* combo, const QString& text) {
        combo->setCurrentText(text);
        ASSERT_EQ(combo->currentText(), text);
        emit combo->activated(combo->currentIndex());
    }
    // The restart that follows a change on this device is checked once; elsewhere the device is
    // taken to keep changes for a later save, so cases do not wait for its count-down.
    static void withoutRestart() { app::setSaveSupported(true); }
    QString status() const { return page->ui->StatusBar->currentMessage(); }
    QStringList rateTexts() const {
        QStringList out;
        for (int i = 1; i <= kRates; ++i)
            out << page->findChild<QComboBox*>(QString("CB_DRate%1").arg(i))->currentText();
        return out;
    }
    QComboBox* rateList(int n) const {
        return page->findChild<QComboBox*>(QString("CB_DRate%1").arg(n));
    }
    QString deviceValue(const QString& oid) const {
        return sim->value(oid)["value"].toVariant().toString();
    }
    // The SETs after the data-rate control and its rows.
    QStringList settingSets() const { return sets().mid(1 + kRates); }

    test::WaitWatcher waits;
};

TEST_F(PerformancePage, OpensWithTheRadioSettingsAndTheRateTable) {
    open();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ Performance");
    EXPECT_EQ(page->ui->PC_Performace->tabText(0), "IEEE 802.11g");
    EXPECT_FALSE(page->ui->PC_Performace->isTabVisible(1));
    EXPECT_EQ(page->ui->Ed_Freqa->text(), "2.437");
    EXPECT_TRUE(page->ui->Ed_Freqa->isReadOnly());
    EXPECT_EQ(page->ui->Ed_BeInta->text(), "100");
    EXPECT_EQ(page->ui->Ed_DTIMa->text(), "1");
    EXPECT_EQ(page->ui->Ed_FragLena->text(), "2346");
    EXPECT_EQ(page->ui->Ed_RTSa->text(), "2346");
    EXPECT_EQ(page->ui->CB_TranPa->currentText(), "Full");
    EXPECT_EQ(page->ui->CB_RadWava->currentText(), "On");
    EXPECT_EQ(page->ui->CB_BgMode->currentText(), "Mixed");
    EXPECT_EQ(page->ui->CB_Preamble->currentText(), "Short and Long");
    EXPECT_EQ(page->ui->CB_WMM->currentText(), "Enable");
    EXPECT_EQ(page->ui->CB_Antenna->currentText(), "Diversity");
    EXPECT_EQ(page->ui->CB_SupModea->count(), 4); // no rogue AP detection: the four Super G modes
    EXPECT_EQ(page->ui->CB_SupModea->currentText(), "Disable");
    for (QWidget* row :
         {page->ui->CB_Gonly, page->ui->CB_XRa, page->ui->CB_WMM, page->ui->CB_Preamble,
          page->ui->CB_BgMode, page->ui->CB_Antenna, page->ui->CB_Snooping}) {
        EXPECT_FALSE(row->isHidden()) << row->objectName().toStdString();
    }
    EXPECT_EQ(page->ui->La_WMM->buddy(), page->ui->CB_WMM);
    EXPECT_EQ(page->ui->Label4->buddy(), page->ui->Ed_BeInta);
    // The rate table of a mixed b/g radio: the CCK rates are basic, the OFDM rates as stored.
    EXPECT_FALSE(page->ui->GroupBox2->isHidden());
    EXPECT_EQ(page->ui->ListView1->topLevelItemCount(), kRates);
    EXPECT_EQ(page->ratePanel()->text(), "Get OK!");
    EXPECT_EQ(rateTexts(),
              (QStringList{"Basic", "Basic", "Basic", "Basic", "Enable", "Enable", "Enable",
                           "Enable", "Enable", "Enable", "Enable", "Enable"}));
    EXPECT_TRUE(page->ui->Bt_Apply_a->isEnabled());
}

TEST_F(PerformancePage, RangesAreCheckedAtTheirBoundariesBeforeAnyWrite) {
    open({"set devMib.99.1.1.40.0 0"});
    withoutRestart();
    struct Case {
        QLineEdit* Ui::TFM_Performace::*field;
        const char* text;
        const char* message; // empty: accepted and written
        const char* oid;
    };
    const Case cases[] = {
        {&Ui::TFM_Performace::Ed_BeInta, "19", "Please input a number between 20 and 1000.", ""},
        {&Ui::TFM_Performace::Ed_BeInta, "1001", "Please input a number between 20 and 1000.", ""},
        {&Ui::TFM_Performace::Ed_BeInta, "abc", "Please input a number between 20 and 1000.", ""},
        {&Ui::TFM_Performace::Ed_BeInta, "20", "", "devMib.2.3.1.6.1"},
        {&Ui::TFM_Performace::Ed_BeInta, "1000", "", "devMib.2.3.1.6.1"},
        {&Ui::TFM_Performace::Ed_DTIMa, "0", "Please input a number between 1 and 255.", ""},
        {&Ui::TFM_Performace::Ed_DTIMa, "256", "Please input a number between 1 and 255.", ""},
        {&Ui::TFM_Performace::Ed_DTIMa, "1", "", "devMib.2.3.1.7.1"},
        {&Ui::TFM_Performace::Ed_DTIMa, "255", "", "devMib.2.3.1.7.1"},
        {&Ui::TFM_Performace::Ed_FragLena, "255", "Please input a number between 256 and 2346.",
         ""},
        {&Ui::TFM_Performace::Ed_FragLena, "2347", "Please input a number between 256 and 2346.",
         ""},
        {&Ui::TFM_Performace::Ed_FragLena, "256", "", "devMib.2.3.1.8.1"},
        {&Ui::TFM_Performace::Ed_RTSa, "255", "Please input a number between 256 and 2346.", ""},
        {&Ui::TFM_Performace::Ed_RTSa, "", "Please input a number between 256 and 2346.", ""},
        {&Ui::TFM_Performace::Ed_RTSa, "2346", "", "devMib.2.3.1.9.1"},
        {&Ui::TFM_Performace::Ed_RTSa, "256", "", "devMib.2.3.1.9.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        page->ui->Ed_BeInta->setText("100");
        page->ui->Ed_DTIMa->setText("1");
        page->ui->Ed_FragLena->setText("2346");
        page->ui->Ed_RTSa->setText("2346");
        QLineEdit* field = (*page->ui).*(c.field);
        field->setText(c.text);
        sim->clearJournal();
        prompter.shown.clear();
        waits.seen.clear();
        page->ui->Bt_Apply_a->click();
        if (*c.message) {
            EXPECT_EQ(prompter.texts(), QStringList{c.message});
            EXPECT_EQ(prompter.shown.value(0).caption, "Error");
            EXPECT_TRUE(field->text().isEmpty());
            EXPECT_TRUE(sets().isEmpty());
        } else {
            EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
            EXPECT_EQ(deviceValue(c.oid), c.text);
            EXPECT_EQ(status(), "IEEE802.11g Setting Success!");
        }
    }
}

TEST_F(PerformancePage, TheDeviceRateSelectsItsItemAndTheChosenItemIsWrittenAsANumber) {
    struct Case {
        const char* device;
        const char* shown;
        const char* chosen;
        const char* written;
    };
    // Super G with dynamic turbo leaves the rate to the operator on this device.
    const Case cases[] = {{"5.5", "5.5 Mbps", "54 Mbps", "54"},
                          {"7", "Auto", "5.5 Mbps", "5.5"},
                          {"Auto", "Auto", "11 Mbps", "11"},
                          {"54", "54 Mbps", "Auto", "Auto"}};
    start("early");
    ASSERT_TRUE(sim->command("set devMib.99.1.1.40.0 0"));
    ASSERT_TRUE(sim->command("set devMib.2.3.1.11.0 3"));
    withoutRestart();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        reopen({QString("set devMib.2.3.1.4.1 %1").arg(c.device)});
        EXPECT_EQ(page->ui->CB_DtRta->count(), 13);
        EXPECT_EQ(page->ui->CB_DtRta->currentText(), c.shown);
        ASSERT_TRUE(page->ui->CB_DtRta->isEnabled());
        choose(page->ui->CB_DtRta, c.chosen);
        page->ui->Bt_Apply_a->click();
        EXPECT_EQ(deviceValue("devMib.2.3.1.4.1"), c.written);
    }
}

TEST_F(PerformancePage, WithoutDataRateControlTheRateListIsFilledAndItsRateWritten) {
    // Super G off on this device means the radio chooses the rate: "Auto", and it is written.
    open({"set devMib.99.1.1.40.0 0"});
    withoutRestart();
    EXPECT_TRUE(page->ui->GroupBox2->isHidden());
    EXPECT_EQ(page->ui->CB_DtRta->count(), 13);
    EXPECT_EQ(page->ui->CB_DtRta->currentText(), "Auto");
    page->ui->Bt_Apply_a->click();
    EXPECT_EQ(status(), "IEEE802.11g Setting Success!");
    EXPECT_EQ(deviceValue("devMib.2.3.1.4.1"), "Auto");
    ASSERT_GE(sets().size(), 3);
    EXPECT_TRUE(sets()[2].contains(devMibOid("2.3.1.4.1=Auto"))) << sets()[2].toStdString();
}

TEST_F(PerformancePage, ElevenBOnlyOffersTheCckRatesAndFixesPreambleAndSuperG) {
    open({"set devMib.2.3.1.24.0 1"});
    EXPECT_EQ(page->ui->CB_BgMode->currentText(), "11b only");
    QStringList items;
    for (int i = 0; i < page->ui->CB_DtRta->count(); ++i)
        items << page->ui->CB_DtRta->itemText(i);
    EXPECT_EQ(items, (QStringList{"Auto", "1 Mbps", "2 Mbps", "5.5 Mbps", "11 Mbps"}));
    EXPECT_EQ(page->ui->CB_Preamble->currentText(), "Long Only");
    EXPECT_FALSE(page->ui->CB_Preamble->isEnabled());
    EXPECT_EQ(page->ui->CB_SupModea->currentText(), "Super G with Dynamic Turbo");
    EXPECT_FALSE(page->ui->CB_SupModea->isEnabled());
    for (int n = 1; n <= kRates; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(rateList(n)->isHidden(), n > 4);
        EXPECT_EQ(
            page->ui->GroupBox2->findChild<QLabel*>(QString("Label%1").arg(n < 12 ? n + 10 : 23))
                ->isHidden(),
            n > 4);
    }
    // 1 and 2 Mb/s are basic; the device's basic 5.5 and 11 Mb/s are offered as enabled.
    EXPECT_EQ(rateTexts().mid(0, 4), (QStringList{"Basic", "Basic", "Enable", "Enable"}));
    // Back to mixed: the OFDM rates and the full rate list return.
    choose(page->ui->CB_BgMode, "Mixed");
    EXPECT_EQ(page->ui->CB_DtRta->count(), 13);
    EXPECT_TRUE(page->ui->CB_Preamble->isEnabled());
    EXPECT_FALSE(rateList(12)->isHidden());
}

TEST_F(PerformancePage, ElevenGOnlyKeepsTheMandatoryRatesBasicWhenRateControlIsOn) {
    open({"set devMib.2.3.1.24.0 0", "set devMib.2.14.1.2.1 1"}, "early-rogue");
    withoutRestart();
    EXPECT_EQ(page->ui->CB_DateStatus->currentText(), "Enable");
    const QStringList expected = {"Basic", "Basic",  "Basic", "Basic",  "Basic",  "Enable",
                                  "Basic", "Enable", "Basic", "Enable", "Enable", "Enable"};
    EXPECT_EQ(rateTexts(), expected);
    // The basic rates cannot be changed; the others offer only disabled and enabled.
    for (int n = 1; n <= kRates; ++n) {
        SCOPED_TRACE(n);
        const bool fixed = expected[n - 1] == "Basic";
        EXPECT_EQ(rateList(n)->isEnabled(), !fixed);
        EXPECT_EQ(rateList(n)->count(), fixed ? 3 : 2);
    }
    EXPECT_TRUE(page->ui->BT_RDateRate->isEnabled());
    EXPECT_EQ(page->ui->CB_DtRta->currentText(), "Auto");
    EXPECT_FALSE(page->ui->CB_DtRta->isEnabled());
    choose(rateList(6), "Disable");
    page->ui->Bt_Apply_a->click();
    EXPECT_EQ(status(), "IEEE802.11g Setting Success!");
    EXPECT_EQ(sets().mid(1, kRates), rowSets({2, 2, 2, 2, 2, 0, 2, 1, 2, 1, 1, 1}));
    EXPECT_EQ(deviceValue("devMib.2.13.1.2.1.6"), "0");
}

TEST_F(PerformancePage, ApplyWritesRateControlRowsThenEachSettingInOrderAndRestarts) {
    open();
    page->ui->Ed_BeInta->setText("200");
    page->ui->Bt_Apply_a->click();
    EXPECT_EQ(status(), "IEEE802.11g Setting Success!");
    const QStringList all = sets();
    ASSERT_EQ(all.size(), 1 + kRates + 9 + 1) << all.join("\n").toStdString();
    EXPECT_EQ(all[0], devMibOid("2.14.1.2.1=0"));
    EXPECT_EQ(all.mid(1, kRates), rowSets({2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1}));
    const QStringList rest = settingSets();
    EXPECT_EQ(rest[0], devMibOid("2.3.1.24.0=2"));
    EXPECT_EQ(rest[1], devMibOid("2.3.1.11.0=4"));
    EXPECT_TRUE(rest[2].startsWith(devMibOid("2.3.1.4.1=Auto,") + devMibOid("2.3.1.6.1=200")))
        << rest[2].toStdString();
    EXPECT_EQ(rest.mid(3, 6), (QStringList{devMibOid("2.3.1.99.1=0"), devMibOid("2.3.1.13.1=0"),
                                           devMibOid("2.3.1.17.0=1"), devMibOid("2.3.1.19.0=1"),
                                           devMibOid("2.3.1.23.0=0"), devMibOid("2.3.1.29.1=0")}));
    // The wait dialog's restart command closes the sequence.
    EXPECT_EQ(rest.last(), devMibOid("3.3.5.0=4"));
    ASSERT_EQ(waits.seen.size(), 1);
    EXPECT_EQ(deviceValue("devMib.2.3.1.6.1"), "200");
}

TEST_F(PerformancePage, ARefusedRateControlOrRowWriteEndsTheSequenceWithoutRestart) {
    struct Case {
        const char* fault;
        int setsSent; // the refused one included
    };
    const Case cases[] = {{"error devMib.2.14 10 set", 1}, {"error devMib.2.13.1.2.1.3 10 set", 4}};
    start("early");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        reopen({"clear"});
        ASSERT_TRUE(sim->command(c.fault));
        page->ui->Ed_BeInta->setText("300");
        page->ui->Bt_Apply_a->click();
        EXPECT_EQ(status(), "IEEE802.11g Setting Error!");
        EXPECT_EQ(sets().size(), c.setsSent) << sets().join("\n").toStdString();
        EXPECT_TRUE(waits.seen.isEmpty());
        EXPECT_EQ(deviceValue("devMib.2.3.1.6.1"), "100");
    }
}

TEST_F(PerformancePage, OptionalSettingsTheDeviceLacksHaveNoRowAndAreNotWritten) {
    struct Case {
        const char* oid;
        QComboBox* Ui::TFM_Performace::*list;
        QLabel* Ui::TFM_Performace::*label;
    };
    const Case cases[] = {
        {"devMib.2.3.1.13.1", &Ui::TFM_Performace::CB_Gonly, &Ui::TFM_Performace::La_Gonly},
        {"devMib.2.3.1.99.1", &Ui::TFM_Performace::CB_XRa, &Ui::TFM_Performace::La_XRa},
        {"devMib.2.3.1.17.0", &Ui::TFM_Performace::CB_WMM, &Ui::TFM_Performace::La_WMM},
        {"devMib.2.3.1.19.0", &Ui::TFM_Performace::CB_Preamble, &Ui::TFM_Performace::La_Preamble},
        {"devMib.2.3.1.23.0", &Ui::TFM_Performace::CB_Antenna, &Ui::TFM_Performace::Lab_Antenna},
        {"devMib.2.3.1.29.1", &Ui::TFM_Performace::CB_Snooping, &Ui::TFM_Performace::Label_Snoop},
    };
    start("early");
    ASSERT_TRUE(sim->command("set devMib.99.1.1.40.0 0"));
    withoutRestart();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.oid);
        reopen({QString("remove %1").arg(c.oid)});
        EXPECT_TRUE(((*page->ui).*(c.list))->isHidden());
        EXPECT_TRUE(((*page->ui).*(c.label))->isHidden());
        page->ui->Bt_Apply_a->click();
        EXPECT_EQ(status(), "IEEE802.11g Setting Success!");
        EXPECT_FALSE(sets().join(",").contains(devMibOid(QString(c.oid).mid(7) + "=")));
        // b/g mode, Super G, radio and the five other optional settings.
        EXPECT_EQ(sets().size(), 3 + 5);
        ASSERT_TRUE(sim->command(QString("define %1 integer rw 0 enum=0,1").arg(c.oid)));
    }
}

// A rate table the device does not deliver (at all, or not past its fourth row) leaves the
// rates unknown: Refresh and Apply come back, Apply writes every other setting and no guessed
// rate row, and a later read that succeeds makes the rows writable again.
TEST_F(PerformancePage, AFailedRateTableReadKeepsRefreshAndApplyUsable) {
    const struct {
        const char* name;
        const char* fault;
        int rowsRead;
    } cases[] = {{"no row", "error devMib.2.13 5 get", 0},
                 {"after four rows", "error devMib.2.13.1.2.1.5 5 get", 4}};
    start("early");
    withoutRestart();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sim->command(c.fault));
        showPage();
        ASSERT_TRUE(kwtest::SimDevice::waitUntil(
            [&] { return !page->ratePanel()->text().isEmpty(); }, 20000));
        EXPECT_NE(page->ratePanel()->text(), "Get OK!");
        EXPECT_EQ(page->ui->ListView1->topLevelItemCount(), c.rowsRead);
        EXPECT_TRUE(page->ui->Bt_Refresh_a->isEnabled());
        ASSERT_TRUE(page->ui->Bt_Apply_a->isEnabled());
        sim->clearJournal();
        page->ui->Ed_BeInta->setText("300");
        page->ui->Bt_Apply_a->click();
        EXPECT_EQ(status(), "IEEE802.11g Setting Success!");
        EXPECT_EQ(deviceValue("devMib.2.3.1.6.1"), "300");
        EXPECT_EQ(sets().value(0), devMibOid("2.14.1.2.1=0"));
        EXPECT_FALSE(sets().join(",").contains(devMibOid("2.13.")))
            << sets().join("\n").toStdString();

        ASSERT_TRUE(sim->command("clear devMib.2.13"));
        page->ui->Bt_Refresh_a->click();
        waitForRateTable();
        EXPECT_EQ(page->ratePanel()->text(), "Get OK!");
        sim->clearJournal();
        page->ui->Bt_Apply_a->click();
        EXPECT_EQ(sets().mid(1, kRates), rowSets({2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1}));
    }
}

TEST_F(PerformancePage, ResetWritesTheDefaultRatesOfTheModeAfterConfirmation) {
    open({"set devMib.2.14.1.2.1 1", "set devMib.2.13.1.2.1.7 0"}, "early-rogue");
    ASSERT_TRUE(page->ui->BT_RDateRate->isEnabled());
    prompter.answers.push_back(platform::Answer::Cancel);
    page->ui->BT_RDateRate->click();
    EXPECT_EQ(prompter.texts(),
              QStringList{"It will Reset Date Settings to Default Status! Continue?"});
    EXPECT_TRUE(sets().isEmpty());

    page->ui->BT_RDateRate->click();
    EXPECT_EQ(sets(), rowSets({2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1}));
    waitForRateTable();
    EXPECT_EQ(rateTexts()[6], "Enable");

    // A row the device refuses is reported, and the table read that follows leaves the failure
    // in view: the refusal on the status bar, the device's answer in the rate panel beneath.
    ASSERT_TRUE(sim->command("error devMib.2.13.1.2.1.5 10 set"));
    page->ui->BT_RDateRate->click();
    EXPECT_EQ(status(), "IEEE802.11g Setting Error!");
    waitForRateTable();
    EXPECT_EQ(status(), "IEEE802.11g Setting Error!");
    EXPECT_TRUE(page->ratePanel()->text().startsWith("Set: "))
        << page->ratePanel()->text().toStdString();
    EXPECT_TRUE(page->ui->Bt_Apply_a->isEnabled());
    // A later read that succeeds reports itself again.
    page->ui->Bt_Refresh_a->click();
    waitForRateTable();
    EXPECT_EQ(page->ratePanel()->text(), "Get OK!");
    EXPECT_TRUE(status().isEmpty());
}

TEST_F(PerformancePage, LeavingAFieldOutsideItsRangeWarnsAndOnlyTheRtsLengthIsEmptied) {
    open({"set devMib.99.1.1.40.0 0"});
    struct Case {
        QLineEdit* Ui::TFM_Performace::*field;
        const char* text;
        const char* message; // empty: no warning
        const char* kept;
    };
    const Case cases[] = {
        {&Ui::TFM_Performace::Ed_BeInta, "", "Please input a number between 20 and 1000.", ""},
        {&Ui::TFM_Performace::Ed_BeInta, "19", "Please input a number between 20 and 1000.", "19"},
        {&Ui::TFM_Performace::Ed_BeInta, "500", "", "500"},
        {&Ui::TFM_Performace::Ed_DTIMa, "0", "Please input a number between 1 and 255.", "0"},
        {&Ui::TFM_Performace::Ed_DTIMa, "255", "", "255"},
        {&Ui::TFM_Performace::Ed_FragLena, "2347", "Please input a number between 256 and 2346.",
         "2347"},
        {&Ui::TFM_Performace::Ed_RTSa, "100", "Please input a number between 256 and 2346.", ""},
        {&Ui::TFM_Performace::Ed_RTSa, "256", "", "256"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        prompter.shown.clear();
        QLineEdit* field = (*page->ui).*(c.field);
        field->setText(c.text);
        EXPECT_TRUE(QvEditHooks::of(*field).runExitHandler());
        if (*c.message) {
            EXPECT_EQ(prompter.texts(), QStringList{c.message});
            EXPECT_EQ(prompter.shown.value(0).caption, "Warning");
        } else {
            EXPECT_TRUE(prompter.shown.isEmpty());
        }
        EXPECT_EQ(field->text(), c.kept);
    }
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(PerformancePage, AListWithoutAValueIsNeverWritten) {
    open({"define devMib.2.3.1.10.1 integer rw 9"});
    EXPECT_EQ(page->ui->CB_TranPa->currentIndex(), -1);
    page->ui->Bt_Apply_a->click();
    EXPECT_EQ(prompter.texts(), QStringList{"Please select a value for Transmit Power."});
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(PerformancePage, ADeviceWithFewerRateRowsGetsOnlyThoseWritten) {
    open({"remove devMib.2.13.1.1.1.12", "remove devMib.2.13.1.2.1.12",
          "remove devMib.2.13.1.1.1.11", "remove devMib.2.13.1.2.1.11"});
    withoutRestart();
    EXPECT_EQ(page->ui->ListView1->topLevelItemCount(), 10);
    page->ui->Bt_Apply_a->click();
    EXPECT_EQ(status(), "IEEE802.11g Setting Success!");
    EXPECT_EQ(sets().mid(1, 10), rowSets({2, 2, 2, 2, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(sets()[11], devMibOid("2.3.1.24.0=2"));
}

TEST_F(PerformancePage, RefreshShowsTheDeviceValuesAgainAndTheRulesFollowThem) {
    open();
    ASSERT_TRUE(sim->command("set devMib.2.3.1.6.1 250"));
    ASSERT_TRUE(sim->command("set devMib.2.3.1.24.0 1"));
    ASSERT_TRUE(sim->command("set devMib.2.13.1.2.1.2 1"));
    page->ui->Bt_Refresh_a->click();
    waitForRateTable();
    EXPECT_EQ(page->ui->Ed_BeInta->text(), "250");
    EXPECT_EQ(page->ui->CB_BgMode->currentText(), "11b only");
    EXPECT_EQ(page->ui->CB_DtRta->count(), 5);
    EXPECT_TRUE(rateList(5)->isHidden());
    // 2 Mb/s stays basic in 802.11b alone, whatever the device's row says.
    EXPECT_EQ(rateTexts()[1], "Basic");
    EXPECT_EQ(page->ratePanel()->text(), "Get OK!");
    EXPECT_TRUE(page->ui->Bt_Apply_a->isEnabled());
    EXPECT_TRUE(sets().isEmpty());
}

// On a device with the current multi-SSID page and multiple SSIDs on, choosing a Super G mode warns
// that multiple SSIDs want it off; "Disable", multiple SSIDs off or the earlier page do not.
TEST_F(PerformancePage, SuperGWithMultipleSsidsOnIsWarnedAbout) {
    const QString warning = "If AP Mode is not \"Access Point\" or Super G is not \"Disable\",\n"
                            "The Multi-SSID should be set to \"Disabled\".";
    const struct {
        const char* multiSsid; // as the device holds it
        const char* newMultiPage;
        const char* superG;
        bool warned;
    } cases[] = {
        {"1", "1", "Super G with Dynamic Turbo", true},
        {"1", "1", "Super G without Turbo", true},
        {"1", "1", "Disable", false},
        {"0", "1", "Super G without Turbo", false},
        {"1", "0", "Super G without Turbo", false},
    };
    start("early");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.multiSsid << c.newMultiPage << " " << c.superG);
        form->flagEdit("NewMultiSupport")->setText(c.newMultiPage);
        reopen({QStringLiteral("set devMib.2.9.3.1.1.0 %1").arg(c.multiSsid)});
        choose(page->ui->CB_SupModea, c.superG);
        EXPECT_EQ(prompter.texts().contains(warning), c.warned)
            << prompter.texts().join(" | ").toStdString();
    }
}

TEST_F(PerformancePage, PriorityBySsidKeepsWmmOn) {
    open({"define devMib.2.9.4.1.1.1 integer rw 1 enum=0,1", "set devMib.2.3.1.17.0 0",
          "set devMib.99.1.1.40.0 0"});
    withoutRestart();
    EXPECT_EQ(page->ui->CB_WMM->currentText(), "Enable");
    EXPECT_FALSE(page->ui->CB_WMM->isEnabled());
    page->ui->Bt_Apply_a->click();
    EXPECT_EQ(deviceValue("devMib.2.3.1.17.0"), "1");
}

} // namespace
