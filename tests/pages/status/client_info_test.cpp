// "Status\Client Info" against the simulated device: client rows filtered, numbered and mapped,
// arriving without a key press; detections that never overlap; the WDS tab in the bridge modes
// with its empty and zero rows skipped; trigger failures; a close that waits for a detection.
#include "pages/status/client_info.h"
#include "tests/support/accessible_tree.h"
#include "tests/support/page_window.h"

#include <QJsonArray>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

namespace {

using test::devMibOid;

TEST(ClientTexts, BandAuthenticationAndPowerSaving) {
    const struct {
        QString value, band, authentication, power;
    } cases[] = {
        {"0", "A", "Open System", "Off"},
        {"1", "B", "Shared Key", "On"},
        {"2", "G", "WPA-Enterprise", " "},
        {"3", "G", "WPA-Personal", " "},
        {"4", " ", "Auto", " "},
        {"8", " ", "WPA-Auto-Personal", " "},
        {"9", " ", " ", " "},
        {"7", " ", "WPA-Auto-Enterprise", " "},
        {"", " ", " ", " "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        EXPECT_EQ(TClientInformation::bandText(c.value), c.band);
        EXPECT_EQ(TClientInformation::authenticationText(c.value), c.authentication);
        EXPECT_EQ(TClientInformation::powerSavingText(c.value), c.power);
    }
    for (const QString mac : {"", "0", "000000000000", "00:00:00:00:00:00"})
        EXPECT_TRUE(TClientInformation::noStation(mac)) << mac.toStdString();
    for (const QString mac : {"000F3D0A0C01", "000000000001"})
        EXPECT_FALSE(TClientInformation::noStation(mac)) << mac.toStdString();
}

class ClientInfo : public test::PageWindow<TClientInformation> {
protected:
    void open() { showPage(); }
    // The main window's capability refresh would overwrite a flag set by the test.
    void setFlag(const char* name, const QString& text) {
        holdCapabilityRefresh();
        form->flagEdit(QString::fromLatin1(name))->setText(text);
    }
    QStringList row(const QTreeWidget* list, int i) const {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList out;
        for (int c = 0; item && c < list->columnCount(); ++c)
            out << item->text(c);
        return out;
    }
    bool waitFor(const std::function<bool()>& done, int ms = 20000) {
        return kwtest::SimDevice::waitUntil(done, ms);
    }
    QString status() const { return page->findChild<QLabel*>("StatusPanel")->text(); }
};

TEST_F(ClientInfo, ClientsAppearWithoutAKeyPressFilteredNumberedAndMapped) {
    start("recent");
    open();
    EXPECT_EQ(page->windowTitle(), "Status\\Client Info");
    EXPECT_EQ(status(), "Detect Client Info...");
    ASSERT_TRUE(waitFor([&] { return page->ui->NumOfRecord->text() == "3"; }));
    const QTreeWidget* list = page->ui->User_ListView;
    EXPECT_EQ(row(list, 0),
              (QStringList{"1", "000F3D0A0C01", "G", "Open System", "80  %", "Off", "office"}));
    EXPECT_EQ(row(list, 1),
              (QStringList{"2", "0011223344AA", "B", "Auto", "45  %", "On", "guest"}));
    EXPECT_EQ(row(list, 2),
              (QStringList{"3", "0011223344BB", "G", "WPA2-Personal", "60  %", "Off", "office"}));
    EXPECT_FALSE(list->isColumnHidden(6));
    EXPECT_TRUE(sets().contains(devMibOid("4.5.1.1.1.1=1")));
    // An access point shows no WDS tab, and none is announced.
    EXPECT_FALSE(page->ui->PageControl1->isTabVisible(1));
    const test::AccessibleNode wds =
        test::findAccessible(page.get(), QAccessible::PageTab, "WDS Info");
    EXPECT_EQ(wds.name, "WDS Info");
    EXPECT_FALSE(wds.showing);
    EXPECT_TRUE(
        test::findAccessible(page.get(), QAccessible::PageTab, page->ui->PageControl1->tabText(0))
            .showing);
}

TEST_F(ClientInfo, WithoutTheSsidCapabilityTheAuthenticationIsMappedAndNoSsidShows) {
    start("recent");
    setFlag("Ed_ClientAddSSID", "0");
    ASSERT_TRUE(sim->command(
        "set devMib.4.5.100.0 \"000F3D0A0C01 7 4 99 3 x;-  2 0 1 0 y;000000000000 1 1 1 1 z\""));
    open();
    ASSERT_TRUE(waitFor([&] { return !page->clientDetecting(); }));
    const QTreeWidget* list = page->ui->User_ListView;
    ASSERT_EQ(list->topLevelItemCount(), 1); // the empty and the zero address are no stations
    EXPECT_EQ(row(list, 0).mid(0, 6),
              (QStringList{"1", "000F3D0A0C01", " ", "Auto", "99  %", " "}));
    EXPECT_TRUE(list->isColumnHidden(6));
    EXPECT_EQ(page->ui->NumOfRecord->text(), "1");
}

TEST_F(ClientInfo, DetectionsNeverOverlapAndRepeatOnTheTimer) {
    start("recent");
    open();
    // The device takes longer to gather its stations than the timer's period (at test speed):
    // each trigger must be followed by its walk before the next trigger goes out.
    ASSERT_TRUE(waitFor(
        [&] { return sim->requests("set").size() >= 3 && !page->clientDetecting(); }, 30000));
    QStringList order;
    for (const QJsonObject& pdu : sim->journal()) {
        const QJsonArray vbs = pdu["varbinds"].toArray();
        if (vbs.isEmpty())
            continue;
        const QString oid = vbs.first().toObject()["oid"].toString();
        if (pdu["op"] == "set" && oid == devMibOid("4.5.1.1.1.1"))
            order << "set";
        else if (pdu["op"] == "getnext" && oid.startsWith(devMibOid("4.5.2.1")) &&
                 (order.isEmpty() || order.last() != "walk"))
            order << "walk";
    }
    ASSERT_GE(order.size(), 6);
    for (int i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i], i % 2 == 0 ? "set" : "walk") << order.join(" ").toStdString();
    EXPECT_EQ(page->ui->NumOfRecord->text(), "3");
}

TEST_F(ClientInfo, ARefreshOrATimerTickDuringADetectionStartsNoOther) {
    struct Case {
        const char* name;
        std::function<void(TClientInformation&)> poke;
    };
    const Case cases[] = {
        {"refresh", [](TClientInformation& p) { p.ui->Bt_Rfrsh->click(); }},
        {"timer tick", [](TClientInformation& p) { p.Timer1Timer(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.reset();
        form.reset();
        sim.reset();
        start("recent");
        open();
        ASSERT_TRUE(page->clientDetecting());
        // The page's own timer would start detections of its own: the test gives the ticks.
        page->timer()->stop();
        c.poke(*page);
        c.poke(*page);
        ASSERT_TRUE(waitFor([&] { return !page->clientDetecting(); }));
        EXPECT_EQ(sets().count(devMibOid("4.5.1.1.1.1=1")), 1);
        EXPECT_EQ(page->ui->NumOfRecord->text(), "3");
        c.poke(*page); // idle now: a new detection
        ASSERT_TRUE(waitFor([&] { return !page->clientDetecting(); }));
        EXPECT_EQ(sets().count(devMibOid("4.5.1.1.1.1=1")), 2);
    }
}

TEST_F(ClientInfo, ARefusedTriggerIsReportedAndCountsTheRowsShown) {
    start("recent");
    ASSERT_TRUE(sim->command("error devMib.4.5.1 5 set"));
    open();
    ASSERT_TRUE(waitFor([&] { return !page->clientDetecting(); }));
    EXPECT_TRUE(status().startsWith("Detect timed out!")) << status().toStdString();
    EXPECT_GT(status().size(), QString("Detect timed out!").size());
    EXPECT_EQ(page->ui->NumOfRecord->text(), "0");
}

TEST_F(ClientInfo, BridgeModesShowTheWdsPeersSkippingRowsWithoutAStation) {
    start("recent");
    ASSERT_TRUE(sim->command("set devMib.2.1.1.1.1 2"));
    ASSERT_TRUE(sim->command("set devMib.4.6.100.0 \"000F3D0B0D01 2 0 70 1 north;- 1 0 0 0 -;"
                             "000000000000 2 0 0 0 -;000F3D0B0D02 1 4 40 0 south\""));
    open();
    ASSERT_TRUE(page->ui->PageControl1->isTabVisible(1));
    EXPECT_TRUE(test::findAccessible(page.get(), QAccessible::PageTab, "WDS Info").showing);
    ASSERT_TRUE(waitFor([&] { return !page->wdsDetecting() && !page->clientDetecting(); }));
    const QTreeWidget* list = page->ui->LV_WDSInfo_User;
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(row(list, 0).mid(0, 7),
              (QStringList{"1", "000F3D0B0D01", "G", "Open System", "70", "Enable", "north"}));
    EXPECT_EQ(row(list, 1).mid(0, 7),
              (QStringList{"2", "000F3D0B0D02", "B", "Open System / Shared Key", "40", "Disable",
                           "south"}));
    EXPECT_EQ(page->ui->Lab_WDSRecordNum->text(), "2");
    EXPECT_TRUE(sets().contains(devMibOid("4.6.1.1.1.1=1")));
}

TEST_F(ClientInfo, TheWdsTabStaysHiddenWhenTheDeviceHasNoWdsInformation) {
    start("recent");
    ASSERT_TRUE(sim->command("set devMib.2.1.1.1.1 3"));
    setFlag("Ed_WDSInfoNotSupport", "1");
    open();
    EXPECT_FALSE(page->ui->PageControl1->isTabVisible(1));
}

TEST_F(ClientInfo, AClosingPageWaitsForTheDetectionUnderWay) {
    start("recent");
    open();
    ASSERT_TRUE(page->clientDetecting());
    page->ui->Bt_Close->click();
    EXPECT_TRUE(page->isVisible()); // its answers are still to come
    ASSERT_TRUE(waitFor([&] { return !page->isVisible(); }));
    EXPECT_FALSE(page->clientDetecting());
    EXPECT_FALSE(page->exchangesOutstanding());
    EXPECT_EQ(sets().count(devMibOid("4.5.1.1.1.1=1")), 1); // no detection started meanwhile
}

// The same for a WDS detection alone: the page closes once its answers are in.
TEST_F(ClientInfo, AClosingPageWaitsForTheWdsDetectionUnderWay) {
    start("recent");
    ASSERT_TRUE(sim->command("set devMib.2.1.1.1.1 2"));
    open();
    page->timer()->stop();
    ASSERT_TRUE(waitFor([&] { return !page->wdsDetecting() && !page->clientDetecting(); }));
    page->ui->Bt_WDSRefresh->click();
    ASSERT_TRUE(page->wdsDetecting());
    ASSERT_FALSE(page->clientDetecting());
    page->ui->Bt_WDSClose->click();
    EXPECT_TRUE(page->isVisible()); // its answers are still to come
    ASSERT_TRUE(waitFor([&] { return !page->isVisible(); }));
    EXPECT_FALSE(page->wdsDetecting());
    EXPECT_FALSE(page->exchangesOutstanding());
}

} // namespace
