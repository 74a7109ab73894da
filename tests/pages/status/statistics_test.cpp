// "Status \ Stats \ WLAN 802.11G" against the simulated device: each counter in its edit, counts
// that move on Refresh, a device that does not answer, and the auto refresh with its chart.
#include "pages/status/statistics.h"
#include "platform/timers.h"
#include "tests/support/page_window.h"

#include <algorithm>
#include <cmath>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEventLoop>
#include <QJsonArray>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QSet>
#include <QTabWidget>
#include <QValueAxis>

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

// 1, 2 or 5 times a power of ten.
bool isRoundStep(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    constexpr double kRound[] = {1, 2, 5};
    return std::any_of(std::begin(kRound), std::end(kRound),
                       [&](double m) { return std::abs(mantissa - m) < 1e-9; });
}

TEST(StatisticsScale, TheCountAxisEndsOnARoundStepAboveTheHighestValue) {
    struct Case {
        double highest, top, step;
        int decimals;
    };
    const Case cases[] = {
        {0, 1, 0.2, 1},       // nothing moved yet
        {0.37, 0.4, 0.1, 1},  // a quiet radio
        {8.6, 10, 2, 0},      // once labelled 2.9, 5.7, 8.6
        {10, 10, 2, 0},       // a value on a step stays the top
        {11.4, 15, 5, 0},     //
        {97.3, 100, 20, 0},   //
        {1234, 1500, 500, 0}, //
        {60001, 80000, 20000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.highest);
        const TFM_Static::Scale s = TFM_Static::scaleFor(c.highest);
        EXPECT_NEAR(s.top, c.top, 1e-9 * c.top);
        EXPECT_NEAR(s.step, c.step, 1e-9 * c.step);
        EXPECT_EQ(s.decimals, c.decimals);
        EXPECT_TRUE(isRoundStep(s.step));
        EXPECT_GE(s.top, c.highest);
        EXPECT_LE(s.top / s.step, 5 + 1e-9); // at most five steps
    }
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

TEST_F(Statistics, EverySeriesIsNamedInFullUnderItsChart) {
    start("recent");
    open();
    page->ui->CB_AutoRefresh->click();
    ASSERT_TRUE(page->chartShown());
    QCoreApplication::processEvents(); // the panel laid out
    const QStringList rates = {"Transmit Success Rate", "Receive Success Rate",
                               "Transmit Retry Rate", "Receive Duplicate Rate"};
    const QStringList counts = {"Transmitted frames per second", "Received frames per second",
                                "Transmit errors per second", "Received FCS errors per second"};
    const auto views = page->findChildren<QChartView*>();
    ASSERT_EQ(views.size(), 2);
    for (const auto& [legendName, names] :
         {std::pair{"RateLegend", rates}, std::pair{"CountLegend", counts}}) {
        SCOPED_TRACE(legendName);
        const auto* legend = page->findChild<QWidget*>(legendName);
        ASSERT_TRUE(legend);
        EXPECT_TRUE(legend->isVisible());
        QStringList captions;
        QList<QRgb> colours;
        for (const QLabel* label : legend->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                colours << label->pixmap().toImage().pixel(0, 0);
                continue;
            }
            captions << label->text();
            // The whole name shows: nothing cut off at the label's edge.
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
                << label->text().toStdString();
            const QLineSeries* s = page->series(label->text());
            ASSERT_TRUE(s) << label->text().toStdString();
            EXPECT_EQ(colours.value(captions.size() - 1), s->color().rgb());
        }
        EXPECT_EQ(captions, names);
        EXPECT_EQ(QSet<QRgb>(colours.begin(), colours.end()).size(), names.size());
    }
    // The chart's own legend, which shortens the names, is not shown.
    for (const QChartView* view : views)
        EXPECT_FALSE(view->chart()->legend()->isVisible());
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
    const QLineSeries* frames = page->series("Transmitted frames per second");
    const QLineSeries* rate = page->series("Transmit Success Rate");
    ASSERT_TRUE(frames && rate);
    ASSERT_TRUE(waitFor([&] { return frames->count() >= 3; }, 30000));
    for (const QPointF& p : frames->points())
        EXPECT_GT(p.y(), 0); // the device's counts grow with every reading
    for (const QPointF& p : rate->points())
        EXPECT_EQ(p.y(), 97);
    EXPECT_LT(frames->at(0).x(), frames->at(2).x());
    // Every axis labelled at whole multiples of a round step, whatever the counts came to.
    for (const QChartView* view : page->findChildren<QChartView*>()) {
        for (const QAbstractAxis* a : view->chart()->axes()) {
            const auto* axis = qobject_cast<const QValueAxis*>(a);
            ASSERT_TRUE(axis);
            SCOPED_TRACE(view->chart()->title().toStdString() + " " +
                         QString::number(axis->orientation()).toStdString());
            EXPECT_EQ(axis->tickType(), QValueAxis::TicksDynamic);
            EXPECT_EQ(axis->tickAnchor(), 0);
            if (axis->orientation() == Qt::Horizontal)
                EXPECT_EQ(axis->tickInterval(), 60); // seconds: a label every minute
            else
                EXPECT_TRUE(isRoundStep(axis->tickInterval())) << axis->tickInterval();
        }
    }

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
