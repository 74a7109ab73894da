#include "pages/status/statistics.h"

#include "app/module_texts.h"
#include "pages/common/edit_state.h"
#include "pages/transfer/command_step.h"
#include "platform/timers.h"

#include <algorithm>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
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
    {"Transmitted frames/s", &TFM_Static::Point::txFrames, false},
    {"Received frames/s", &TFM_Static::Point::rxFrames, false},
    {"Transmit errors/s", &TFM_Static::Point::txErrors, false},
    {"Receive FCS errors/s", &TFM_Static::Point::rxErrors, false},
};

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
    pages::onGetAnswer(*counters_, this, [this](const QvSNMPError& e) { readingArrived(e); });
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

void TFM_Static::plot(const Point& p) {
    const double from = p.seconds - kChartSeconds;
    double top = 1;
    for (std::size_t i = 0; i < series_.size(); ++i) {
        QLineSeries* s = series_[i];
        s->append(p.seconds, p.*kSeries[i].value);
        while (s->count() > 0 && s->at(0).x() < from)
            s->remove(0);
        if (!kSeries[i].rate)
            for (const QPointF& q : s->points())
                top = std::max(top, q.y());
    }
    const double left = std::max(0.0, from);
    const double right = std::max(p.seconds, left + 1);
    rateTime_->setRange(left, right);
    countTime_->setRange(left, right);
    countAxis_->setRange(0, top * 1.1);
}

void TFM_Static::buildChart() {
    chartPanel_ = pages::named(new QWidget(this), "ChartPanel");
    auto* box = new QVBoxLayout(chartPanel_);
    box->setContentsMargins(0, 0, 0, 0);
    auto makeChart = [&](const QString& title, QValueAxis*& time, QValueAxis*& values) {
        auto* chart = new QChart;
        chart->setTitle(title);
        chart->legend()->setAlignment(Qt::AlignBottom);
        time = new QValueAxis;
        time->setTitleText(QStringLiteral("seconds"));
        time->setLabelFormat(QStringLiteral("%d"));
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
    rateAxis->setLabelFormat(QStringLiteral("%d"));
    countChart_ = makeChart(QStringLiteral("Frames and errors per second"), countTime_, countAxis_);
    countAxis_->setLabelFormat(QStringLiteral("%.1f"));
    for (const SeriesDef& def : kSeries) {
        auto* s = new QLineSeries;
        s->setName(QString::fromLatin1(def.title));
        QChart* chart = def.rate ? rateChart_ : countChart_;
        chart->addSeries(s);
        for (QAbstractAxis* axis : chart->axes())
            s->attachAxis(axis);
        series_.push_back(s);
    }
    rateTime_->setRange(0, kChartSeconds);
    countTime_->setRange(0, kChartSeconds);
    countAxis_->setRange(0, 1);
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
