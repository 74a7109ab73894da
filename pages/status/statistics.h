#pragma once
// "Status \ Stats \ WLAN 802.11G": the wireless traffic counters of radio instance 1, read when
// the page opens and on "Refresh". "Auto refresh" (off until chosen) reads them every few
// seconds and draws the rates and the frames and errors per second of the last minutes beside
// the numbers, each series named in full under its chart.
#include "pages/common/page.h"
#include "tables/statistics.h"
#include "ui_statistics.h"

#include <array>
#include <optional>
#include <QElapsedTimer>
#include <vector>

class QChart;
class QChartView;
class QLineSeries;
class QTimer;
class QValueAxis;

class TFM_Static : public pages::FormPage<Ui::TFM_Static> {
    Q_OBJECT
public:
    explicit TFM_Static(QWidget* owner);

    // Nominal interval of the auto refresh, and how far back the chart reaches.
    static constexpr int kAutoRefreshMs = 5000;
    static constexpr int kChartSeconds = 300;

    // The counters of one reading, at `seconds` since auto refresh began; nothing for a counter
    // whose text was not a number.
    struct Sample {
        double seconds = 0;
        std::array<std::optional<qint64>, tables::statistics::kCounterCount> values{};
    };
    // What the chart draws between two readings: the four rates as read, and frames and errors
    // per second. Nothing when no time has passed, a count is missing, or one went down (the
    // counter wrapped or the device restarted): no point is better than a wrong one.
    struct Point {
        double seconds = 0;
        double txSuccessRate = 0, rxSuccessRate = 0, txRetryRate = 0, rxDuplicateRate = 0;
        double txFrames = 0, rxFrames = 0, txErrors = 0, rxErrors = 0;
    };
    static std::optional<Point> between(const Sample& before, const Sample& after);

    // A value axis from 0 that shows `highest`: its top, a round step between labels (1, 2 or 5
    // times a power of ten, at most five steps) and the decimals the labels need for it.
    struct Scale {
        double top = 1;
        double step = 0.2;
        int decimals = 1;
    };
    static Scale scaleFor(double highest);

    void FormCreate();
    void Bt_RfrshAClick();
    void CB_AutoRefreshClick();

    // The chart's series by title (tests and screenshots), and whether the chart is shown.
    const QLineSeries* series(const QString& name) const;
    bool chartShown() const;

private:
    void buildChart();
    void readingArrived(const QvSNMPError& result);
    void plot(const Point& p);
    Sample sampleNow() const;

    QvSNMPRequest2Edits* counters_ = nullptr;
    std::array<QLineEdit*, tables::statistics::kCounterCount> edits_{};
    QTimer* autoTimer_ = nullptr;
    QElapsedTimer clock_;
    std::optional<Sample> last_;
    QWidget* chartPanel_ = nullptr;
    QChart* rateChart_ = nullptr;
    QChart* countChart_ = nullptr;
    QValueAxis* rateTime_ = nullptr;
    QValueAxis* countTime_ = nullptr;
    QValueAxis* countAxis_ = nullptr;
    std::vector<QLineSeries*> series_;
};
