// "Status \ Stats \ WLAN 802.11G" against the simulated device: each counter in its edit, counts
// that move on Refresh, a device that does not answer, and the auto refresh with its chart.
#include "pages/status/statistics.h"
#include "platform/timers.h"
#include "tests/support/page_window.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QJsonArray>
#include <QLineSeries>
#include <QTabWidget>

namespace {

using test::devMibOid;
namespace ts = tables::statistics;

TFM_Static::Sample sample(double seconds, qint64 base) {
    TFM_Static::Sample s;
    s.seconds = seconds;
    for (std::size_t i = 0; i < s.values.size(); ++i)
        s.values[i] = base + static_cast<qint64>(i);
    s.values[ts::kTrSuccessRate] = 97;
    s.values[ts::kRxSuccessRate] = 90;
    return s;
}

TEST(StatisticsPoints, PerSecondBetweenTwoReadings) {
    const auto before = sample(10, 1000);
    auto after = sample(15, 1000);
    after.values[ts::kTrFrameCount] = *before.values[ts::kTrFrameCount] + 500;
    after.values[ts::kRxFrameCount] = *before.values[ts::kRxFrameCount] + 250;
    after.values[ts::kTrErrorCount] = *before.values[ts::kTrErrorCount] + 5;
    const auto p = TFM_Static::between(before, after);
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->seconds, 15);
    EXPECT_DOUBLE_EQ(p->txFrames, 100);
    EXPECT_DOUBLE_EQ(p->rxFrames, 50);
    EXPECT_DOUBLE_EQ(p->txErrors, 1);
    EXPECT_DOUBLE_EQ(p->rxErrors, 0);
    EXPECT_DOUBLE_EQ(p->txSuccessRate, 97);
    EXPECT_DOUBLE_EQ(p->rxSuccessRate, 90);

    // No point rather than a wrong one.
    EXPECT_FALSE(TFM_Static::between(before, sample(10, 1000))); // no time passed
    auto wrapped = sample(15, 1000);
    wrapped.values[ts::kRxFrameCount] = 3; // the counter wrapped or the device restarted
    EXPECT_FALSE(TFM_Static::between(before, wrapped));
    auto missing = sample(15, 1000);
    missing.values[ts::kTrErrorCount].reset(); // not a number
    EXPECT_FALSE(TFM_Static::between(before, missing));
}

class Statistics : public test::PageWindow<TFM_Static> {
protected:
    void open() { showPage(); }
    QLineEdit* edit(int index) const {
        return page->findChild<QLineEdit*>(QString::fromLatin1(kEdits[index]));
    }
    static bool waitFor(const std::function<bool()>& done, int ms = 20000) {
        return kwtest::SimDevice::waitUntil(done, ms);
    }
    static constexpr const char* kEdits[] = {
        "Ed_TranSuRata",  "Ed_TranReRata",     "Ed_RcvSuRata",      "Ed_RcvDuRata",
        "Ed_RTSSuCnta",   "Ed_RTSFaCnta",      "Ed_TranFrCnta",     "Ed_McastTranFrCnta",
        "Ed_TranErrCnta", "Ed_TranTtlRtyCnta", "Ed_TranMulRtyCnta", "Ed_RcvFrmCnta",
        "Ed_MRcvFrmCnta", "Ed_RcvFrmErrCnta",  "Ed_RcvFrmDupCnta",  "Ed_AckRcvfCnta",
        "Ed_WEPEFrmCnta", "Ed_WEPIErrCnta",    "Ed_TxTbc",          "Ed_RxRbc"};
};

TEST_F(Statistics, EachCounterLandsInItsEdit) {
    start("recent");
    // Far-apart values, so that a count that moved a little still names its object.
    for (int i = 0; i < ts::kCounterCount; ++i)
        ASSERT_TRUE(sim->command(QString("set devMib.4.3.1.1.%1.1 %2")
                                     .arg(i + 1)
                                     .arg(i < 4 ? 10 + i : (i + 1) * 1000000)));
    open();
    EXPECT_EQ(page->windowTitle(), "Status \\ Stats \\ WLAN 802.11G ");
    EXPECT_EQ(page->ui->PC_Static->tabText(0), "IEEE 802.11g");
    EXPECT_FALSE(page->ui->PC_Static->isTabVisible(1));
    ASSERT_TRUE(waitFor([&] { return !edit(19)->text().isEmpty(); }));
    for (int i = 0; i < ts::kCounterCount; ++i) {
        SCOPED_TRACE(kEdits[i]);
        EXPECT_TRUE(edit(i)->isReadOnly());
        const qint64 v = edit(i)->text().toLongLong();
        if (i < 4) {
            EXPECT_EQ(v, 10 + i); // rates stay as they are
        } else {
            EXPECT_GE(v, (i + 1) * 1000000LL);
            EXPECT_LT(v, (i + 1) * 1000000LL + 100000);
        }
    }
    EXPECT_FALSE(page->ui->CB_AutoRefresh->isChecked());
    EXPECT_FALSE(page->chartShown());
}

TEST_F(Statistics, RefreshReadsTheMovingCountsAgain) {
    start("recent");
    open();
    ASSERT_TRUE(
        waitFor([&] { return !page->exchangesOutstanding() && !edit(6)->text().isEmpty(); }));
    const qint64 before = edit(6)->text().toLongLong();
    page->ui->Bt_RfrshA->click();
    ASSERT_TRUE(waitFor([&] { return edit(6)->text().toLongLong() > before; }));
}

TEST_F(Statistics, ADeviceThatDoesNotAnswerLeavesTheEditsUntilALaterRefresh) {
    start("recent");
    ASSERT_TRUE(sim->command("silence devMib.4.3 get"));
    open();
    ASSERT_TRUE(waitFor([&] { return !page->exchangesOutstanding(); }, 30000));
    EXPECT_EQ(edit(6)->text(), "");
    ASSERT_TRUE(sim->command("clear"));
    page->ui->Bt_RfrshA->click();
    ASSERT_TRUE(waitFor([&] { return !edit(6)->text().isEmpty(); }));
}

TEST_F(Statistics, AutoRefreshDrawsRatesAndPerSecondCounts) {
    start("recent");
    open();
    ASSERT_TRUE(waitFor([&] { return !page->exchangesOutstanding(); }));
    // The page's readings (the main window polls the device meanwhile).
    const auto gets = [&] {
        int n = 0;
        for (const QJsonObject& pdu : sim->requests("get"))
            n += pdu["varbinds"].toArray().first().toObject()["oid"].toString().startsWith(
                devMibOid("4.3.1.1."));
        return n;
    };
    page->ui->CB_AutoRefresh->click();
    EXPECT_TRUE(page->chartShown());
    const QLineSeries* frames = page->series("Transmitted frames/s");
    const QLineSeries* rate = page->series("Transmit Success Rate");
    ASSERT_TRUE(frames && rate);
    ASSERT_TRUE(waitFor([&] { return frames->count() >= 3; }, 30000));
    for (const QPointF& p : frames->points())
        EXPECT_GT(p.y(), 0); // the device's counts grow with every reading
    for (const QPointF& p : rate->points())
        EXPECT_EQ(p.y(), 97);
    EXPECT_LT(frames->at(0).x(), frames->at(2).x());

    page->ui->CB_AutoRefresh->click(); // off: no more readings, the chart goes
    EXPECT_FALSE(page->chartShown());
    ASSERT_TRUE(waitFor([&] { return !page->exchangesOutstanding(); }));
    const auto after = gets();
    // Two auto-refresh periods at test speed go by without a reading.
    QEventLoop loop;
    QTimer::singleShot(platform::scaledInterval(2 * TFM_Static::kAutoRefreshMs), &loop,
                       &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(gets(), after);
}

} // namespace
