// The floor under the module's idle CPU while its LEDs blink: what any program pays on this
// machine to wake every 30 ms, and what a bare Qt Widgets window pays to wake and to change a
// 7-pixel square at each wake, with nothing else to do. The module cannot blink for less than
// the last line while it keeps the blink's tick.
//
//   xvfb-run -a build/bin/kw_bench_blink_floor [SECONDS]      (default 20 s per line)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <sys/resource.h>

namespace {

constexpr int kTickMs = 30;

double cpuSeconds() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

void report(const char* what, double cpu, double wallSeconds, long ticks) {
    std::printf("%-44s %6.3f %% of one core  %6.1f us per tick\n", what, 100 * cpu / wallSeconds,
                ticks > 0 ? cpu / static_cast<double>(ticks) * 1e6 : 0);
}

// A square that paints itself lit or dark.
class Square : public QWidget {
public:
    using QWidget::QWidget;
    bool lit = false;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), lit ? Qt::green : Qt::darkGreen);
    }
};

// A window the size of the module's, ticking for `seconds`; `change` runs at every tick.
void qtWindow(double seconds, const char* what, bool change) {
    QWidget window;
    window.resize(236, 475);
    auto* square = new Square(&window);
    square->setGeometry(106, 381, 7, 7);
    square->setAttribute(Qt::WA_OpaquePaintEvent);
    window.show();
    QTimer tick;
    tick.setInterval(kTickMs);
    long ticks = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++ticks;
        if (change) {
            square->lit = !square->lit;
            square->update();
        }
    });
    // Settled on the screen first.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    tick.start();
    const double before = cpuSeconds();
    clock.restart();
    QTimer::singleShot(static_cast<int>(seconds * 1000), qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    report(what, cpuSeconds() - before, static_cast<double>(clock.nsecsElapsed()) / 1e9, ticks);
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20;
    {
        const long ticks = static_cast<long>(seconds * 1000 / kTickMs);
        const double before = cpuSeconds();
        const auto from = std::chrono::steady_clock::now();
        for (long i = 0; i < ticks; ++i)
            poll(nullptr, 0, kTickMs);
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - from;
        report("poll() every 30 ms, nothing else", cpuSeconds() - before, wall.count(), ticks);
    }
    // Plain X image requests, as the module uses them.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    qtWindow(seconds, "Qt window, timer every 30 ms, nothing drawn", false);
    qtWindow(seconds, "Qt window, a 7-pixel square changed per tick", true);
    return 0;
}
