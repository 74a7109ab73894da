#include "pages/status/statistics.h"

#include "app/module_texts.h"
#include "pages/common/edit_state.h"
#include "pages/transfer/command_step.h"
#include "platform/timers.h"

#include <algorithm>
#include <cmath>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>

namespace ts = tables::statistics;

namespace {

// Chart series: title and the member of a point it draws.
struct SeriesDef {
    const char* title;
    double TFM_Static::Point::*value;
    bool rate; // the percentage chart, else the per-second one
};
constexpr SeriesDef kSeries[] = {
    {"Transmit Success Rate", &TFM_Static::Point::txSuccessRate, true},
    {"Receive Success Rate", &TFM_Static::Point::rxSuccessRate, true},
    {"Transmit Retry Rate", &TFM_Static::Point::txRetryRate, true},
    {"Receive Duplicate Rate", &TFM_Static::Point::rxDuplicateRate, true},
    {"Transmitted frames per second", &TFM_Static::Point::txFrames, false},
    {"Received frames per second", &TFM_Static::Point::rxFrames, false},
    {"Transmit errors per second", &TFM_Static::Point::txErrors, false},
    {"Received FCS errors per second", &TFM_Static::Point::rxErrors, false},
};

// An empty legend under the chart last added to `box`: two columns of entries.
QWidget* addLegend(QVBoxLayout* box, const char* name) {
    auto* legend = pages::named(new QWidget(box->parentWidget()), name);
    auto* grid = new QGridLayout(legend);
    grid->setContentsMargins(8, 0, 8, 0);
    grid->setHorizontalSpacing(6);
    grid->setColumnStretch(4, 1);
    box->addWidget(legend);
    return legend;
}

// A swatch in the series' colour and its whole name, next in reading order.
void legendEntry(QWidget* legend, const QLineSeries& series) {
    auto* grid = static_cast<QGridLayout*>(legend->layout());
    const int n = grid->count() / 2;
    QPixmap swatch(16, 4);
    swatch.fill(series.color());
    auto* mark = new QLabel(legend);
    mark->setPixmap(swatch);
    auto* caption = new QLabel(series.name(), legend);
    grid->addWidget(mark, n / 2, (n % 2) * 2);
    grid->addWidget(caption, n / 2, (n % 2) * 2 + 1);
}

} // namespace

TFM_Static::TFM_Static(QWidget* owner) : FormPage(owner) {
    edits_ = {
        ui->Ed_TranSuRata,  ui->Ed_TranReRata,     ui->Ed_RcvSuRata,      ui->Ed_RcvDuRata,
        ui->Ed_RTSSuCnta,   ui->Ed_RTSFaCnta,      ui->Ed_TranFrCnta,     ui->Ed_McastTranFrCnta,
        ui->Ed_TranErrCnta, ui->Ed_TranTtlRtyCnta, ui->Ed_TranMulRtyCnta, ui->Ed_RcvFrmCnta,
        ui->Ed_MRcvFrmCnta, ui->Ed_RcvFrmErrCnta,  ui->Ed_RcvFrmDupCnta,  ui->Ed_AckRcvfCnta,
        ui->Ed_WEPEFrmCnta, ui->Ed_WEPIErrCnta,    ui->Ed_TxTbc,          ui->Ed_RxRbc};
    for (QLineEdit* edit : edits_)
        pages::setWritable(edit, false);
    // The second radio tab stays hidden: this module manages radio instance 1 only.
    ui->PC_Static->setTabVisible(1, false);
    ui->PC_Static->setTabText(0, QString::fromLatin1(app::kBandName));
    handle(ui->Bt_RfrshA, &QPushButton::clicked, &TFM_Static::Bt_RfrshAClick);
    handle(ui->CB_AutoRefresh, &QCheckBox::clicked, &TFM_Static::CB_AutoRefreshClick);
    autoTimer_ = platform::makeTimer(this, kAutoRefreshMs);
    connect(autoTimer_, &QTimer::timeout, this, [this] {
        // A reading still under way (a slow device) is not overtaken by the next one.
        if (counters_ && !counters_->busy)
            guard([this] { counters_->Refresh(); });
    });
    buildChart();
    guard([this] { FormCreate(); });
}

void TFM_Static::FormCreate() {
    counters_ = addRequest(ts::kCounters, {.kind = MVT_SV, .asynchronous = true});
    for (int i = 0; i < ts::kCounterCount; ++i)
        counters_->BindFormat(i, QStringLiteral("%s"), edits_[static_cast<std::size_t>(i)]);
    counters_->OnGetCompleteLater(this, [this](const QvSNMPError& e) { readingArrived(e); });
    counters_->Refresh();
}

void TFM_Static::Bt_RfrshAClick() {
    if (counters_)
        counters_->Refresh();
}

void TFM_Static::CB_AutoRefreshClick() {
    const bool on = ui->CB_AutoRefresh->isChecked();
    chartPanel_->setVisible(on);
    last_.reset();
    for (QLineSeries* s : series_)
        s->clear();
    if (!on) {
        autoTimer_->stop();
        return;
    }
    clock_.start();
    autoTimer_->start();
    if (counters_ && !counters_->busy)
        counters_->Refresh();
}

TFM_Static::Sample TFM_Static::sampleNow() const {
    Sample s;
    s.seconds = static_cast<double>(clock_.elapsed()) / 1000.0;
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        bool ok = false;
        const qint64 v = edits_[i]->text().toLongLong(&ok);
        if (ok)
            s.values[i] = v;
    }
    return s;
}

std::optional<TFM_Static::Point> TFM_Static::between(const Sample& before, const Sample& after) {
    const double dt = after.seconds - before.seconds;
    if (dt <= 0)
        return std::nullopt;
    for (std::size_t i = 0; i < after.values.size(); ++i)
        if (!after.values[i] || !before.values[i])
            return std::nullopt;
    auto rate = [&](int i) {
        return static_cast<double>(*after.values[static_cast<std::size_t>(i)]);
    };
    auto perSecond = [&](int i) -> std::optional<double> {
        const qint64 d = *after.values[static_cast<std::size_t>(i)] -
                         *before.values[static_cast<std::size_t>(i)];
        if (d < 0)
            return std::nullopt;
        return static_cast<double>(d) / dt;
    };
    const auto tx = perSecond(ts::kTrFrameCount);
    const auto rx = perSecond(ts::kRxFrameCount);
    const auto txErr = perSecond(ts::kTrErrorCount);
    const auto rxErr = perSecond(ts::kRxFrameFcsErrorCount);
    if (!tx || !rx || !txErr || !rxErr)
        return std::nullopt;
    Point p;
    p.seconds = after.seconds;
    p.txSuccessRate = rate(ts::kTrSuccessRate);
    p.rxSuccessRate = rate(ts::kRxSuccessRate);
    p.txRetryRate = rate(ts::kTrRetryRate);
    p.rxDuplicateRate = rate(ts::kRxDuplicateRate);
    p.txFrames = *tx;
    p.rxFrames = *rx;
    p.txErrors = *txErr;
    p.rxErrors = *rxErr;
    return p;
}

void TFM_Static::readingArrived(const QvSNMPError& result) {
    if (!ui->CB_AutoRefresh->isChecked() || result.code != 0)
        return;
    const Sample now = sampleNow();
    if (last_) {
        if (const auto p = between(*last_, now))
            plot(*p);
    }
    last_ = now;
}

TFM_Static::Scale TFM_Static::scaleFor(double highest) {
    constexpr int kMostSteps = 5;
    const double shown = highest > 0 ? highest : 1; // an empty chart reaches 1
    const double wanted = shown / kMostSteps;
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    double step = 10 * power;
    for (const double m : {1.0, 2.0, 5.0}) {
        if (wanted <= m * power * (1 + 1e-9)) {
            step = m * power;
            break;
        }
    }
    Scale s;
    s.step = step;
    s.top = std::ceil(shown / step - 1e-9) * step;
    s.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    return s;
}

void TFM_Static::plot(const Point& p) {
    const double from = p.seconds - kChartSeconds;
    double highest = 0;
    for (std::size_t i = 0; i < series_.size(); ++i) {
        QLineSeries* s = series_[i];
        s->append(p.seconds, p.*kSeries[i].value);
        while (s->count() > 0 && s->at(0).x() < from)
            s->remove(0);
        if (!kSeries[i].rate)
            for (const QPointF& q : s->points())
                highest = std::max(highest, q.y());
    }
    // The window keeps its width: the lines start at the left and scroll once it is full.
    const double left = std::max(0.0, from);
    rateTime_->setRange(left, left + kChartSeconds);
    countTime_->setRange(left, left + kChartSeconds);
    const Scale scale = scaleFor(highest);
    countAxis_->setRange(0, scale.top);
    countAxis_->setTickInterval(scale.step);
    countAxis_->setLabelFormat(QStringLiteral("%.%1f").arg(scale.decimals));
}

void TFM_Static::buildChart() {
    chartPanel_ = pages::named(new QWidget(this), "ChartPanel");
    auto* box = new QVBoxLayout(chartPanel_);
    box->setContentsMargins(0, 0, 0, 0);
    // Labels at whole multiples of a round step, wherever the range lies.
    const auto roundSteps = [](QValueAxis* axis, double step, const char* format) {
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(step);
        axis->setLabelFormat(QString::fromLatin1(format));
    };
    auto makeChart = [&](const QString& title, QValueAxis*& time, QValueAxis*& values) {
        auto* chart = new QChart;
        chart->setTitle(title);
        // The chart's own legend shortens names to its width ("Transmit..."), so that no series
        // can be told from another: the legend under the chart (addLegend) names them in full.
        chart->legend()->hide();
        time = new QValueAxis;
        time->setTitleText(QStringLiteral("seconds"));
        roundSteps(time, kChartSeconds / 5.0, "%d");
        values = new QValueAxis;
        chart->addAxis(time, Qt::AlignBottom);
        chart->addAxis(values, Qt::AlignLeft);
        auto* view = new QChartView(chart, chartPanel_); // the view owns the chart
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumSize(420, 250);
        view->setAccessibleName(title);
        box->addWidget(view);
        return chart;
    };
    QValueAxis* rateAxis = nullptr;
    rateChart_ = makeChart(QStringLiteral("Rates (%)"), rateTime_, rateAxis);
    rateAxis->setRange(0, 100);
    roundSteps(rateAxis, 20, "%d");
    QWidget* rateLegend = addLegend(box, "RateLegend");
    countChart_ = makeChart(QStringLiteral("Frames and errors per second"), countTime_, countAxis_);
    const Scale none = scaleFor(0);
    countAxis_->setRange(0, none.top);
    roundSteps(countAxis_, none.step, "%.1f");
    QWidget* countLegend = addLegend(box, "CountLegend");
    for (const SeriesDef& def : kSeries) {
        auto* s = new QLineSeries;
        s->setName(QString::fromLatin1(def.title));
        QChart* chart = def.rate ? rateChart_ : countChart_;
        chart->addSeries(s);
        for (QAbstractAxis* axis : chart->axes())
            s->attachAxis(axis);
        series_.push_back(s);
        legendEntry(def.rate ? rateLegend : countLegend, *s);
    }
    rateTime_->setRange(0, kChartSeconds);
    countTime_->setRange(0, kChartSeconds);
    ui->ChartRow->addWidget(chartPanel_);
    chartPanel_->setVisible(false);
}

const QLineSeries* TFM_Static::series(const QString& name) const {
    for (const QLineSeries* s : series_)
        if (s->name() == name)
            return s;
    return nullptr;
}

bool TFM_Static::chartShown() const {
    return chartPanel_->isVisible();
}
