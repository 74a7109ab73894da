// "Status \ Stats \ Ethernet" against the simulated device: each counter in its own edit, new
// counts after Refresh, a device that does not answer, and a close asked for meanwhile.
#include "pages/status/ethernet.h"
#include "tests/support/page_window.h"

#include <QJsonArray>
#include <QPushButton>

namespace {

using test::devMibOid;

class EthernetPage : public test::PageWindow<TFM_Ethernet> {
protected:
    void open() { showPage(); }
    QList<QLineEdit*> edits() const {
        return {page->ui->Ed_TxTfc, page->ui->Ed_RxRfc, page->ui->Ed_TxTbc, page->ui->Ed_RxRbc};
    }
    bool allFilled() const {
        const auto e = edits();
        return std::all_of(e.begin(), e.end(), [](QLineEdit* x) { return !x->text().isEmpty(); });
    }
    // The page's GETs of the counters, as lists of OIDs.
    QList<QStringList> counterGets() const {
        QList<QStringList> out;
        for (const QJsonObject& pdu : sim->requests("get")) {
            QStringList oids;
            for (const auto& vb : pdu["varbinds"].toArray())
                oids << vb.toObject()["oid"].toString();
            if (!oids.isEmpty() && oids.first().startsWith(devMibOid("4.3.2.1.")))
                out << oids;
        }
        return out;
    }
};

TEST_F(EthernetPage, ShowsEachCounterInItsOwnEditAndNewCountsAfterRefresh) {
    start("recent");
    // Counts far apart, so a counter shown in another counter's edit cannot pass.
    struct Counter {
        const char* oid;
        qint64 base;
        QLineEdit* Ui::TFM_Ethernet::*edit;
    };
    const Counter counters[] = {
        {"4.3.2.1.1.0", 1'000'000, &Ui::TFM_Ethernet::Ed_TxTfc},
        {"4.3.2.1.2.0", 2'000'000, &Ui::TFM_Ethernet::Ed_RxRfc},
        {"4.3.2.1.3.0", 30'000'000, &Ui::TFM_Ethernet::Ed_TxTbc},
        {"4.3.2.1.4.0", 400'000'000, &Ui::TFM_Ethernet::Ed_RxRbc},
    };
    for (const Counter& c : counters)
        ASSERT_TRUE(sim->command(QStringLiteral("set devMib.%1 %2").arg(c.oid).arg(c.base)));
    sim->clearJournal();
    open();
    EXPECT_EQ(page->windowTitle(), "Status \\ Stats \\ Ethernet");
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return allFilled(); }, 5000));
    QList<qint64> first;
    for (const Counter& c : counters) {
        bool number = false;
        const qint64 shown = (page->ui.get()->*c.edit)->text().toLongLong(&number);
        ASSERT_TRUE(number) << c.oid;
        EXPECT_GE(shown, c.base) << c.oid;
        EXPECT_LT(shown, c.base + 100'000) << c.oid;
        EXPECT_TRUE((page->ui.get()->*c.edit)->isReadOnly());
        first << shown;
    }
    // One GET of the four scalars, in the list's order (which is not the form's).
    const QList<QStringList> gets = counterGets();
    ASSERT_EQ(gets.size(), 1);
    EXPECT_EQ(gets.first(), (QStringList{devMibOid("4.3.2.1.1.0"), devMibOid("4.3.2.1.2.0"),
                                         devMibOid("4.3.2.1.3.0"), devMibOid("4.3.2.1.4.0")}));

    page->ui->Bt_RfrshE->click();
    ASSERT_TRUE(kwtest::SimDevice::waitUntil(
        [&] { return page->ui->Ed_RxRbc->text().toLongLong() != first[3]; }, 5000));
    for (int i = 0; i < 4; ++i)
        EXPECT_GT((page->ui.get()->*counters[i].edit)->text().toLongLong(), first[i]) << i;
    EXPECT_EQ(counterGets().size(), 2);
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
}

TEST_F(EthernetPage, ADeviceThatDoesNotAnswerLeavesTheCountsAsTheyWere) {
    start("recent");
    open();
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return allFilled(); }, 5000));
    QStringList before;
    for (QLineEdit* e : edits())
        before << e->text();

    ASSERT_TRUE(sim->command("silence devMib.4.3.2 get"));
    page->ui->Bt_RfrshE->click();
    // The binding layer reports the time-out itself (the page has no status bar).
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return !prompter.shown.isEmpty(); }, 10000));
    EXPECT_TRUE(prompter.texts().join(" ").contains("timed out"))
        << prompter.texts().join("; ").toStdString();
    QStringList after;
    for (QLineEdit* e : edits())
        after << e->text();
    EXPECT_EQ(after, before);
}

// The operator closes the page while the device is silent: the page goes once the reading has
// timed out, without being asked again.
TEST_F(EthernetPage, ACloseAskedForDuringASilentReadingIsCarriedOutWhenItEnds) {
    start("recent");
    open();
    ASSERT_TRUE(settled());
    ASSERT_TRUE(sim->command("silence devMib.4.3.2 get"));
    page->ui->Bt_RfrshE->click();
    ASSERT_TRUE(page->exchangesOutstanding());
    page->close();
    EXPECT_TRUE(page->isVisible());
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return !page->isVisible(); }, 10000));
    EXPECT_FALSE(page->exchangesOutstanding());
    EXPECT_TRUE(prompter.texts().join(" ").contains("timed out"))
        << prompter.texts().join("; ").toStdString();
}

} // namespace
