// Opening every page of the page list against the simulated device, in each profile: the time
// from the menu item's action (the page's factory, as the main window calls it) until the page
// is on the screen showing the device's values: its first refresh answered and in its controls
// (no exchange of the module outstanding) and the page exposed and painted. The main window's
// own poll and refresh are held meanwhile, so every exchange counted is the page's. ROUNDS
// openings of each page, the pages taken in turn; the median per page.
//
//   kw_bench_page_open [ROUNDS] [PROFILE...]      (default 10 rounds, "recent" and "early")
//
// Pages that join the page list are measured as they come. Message boxes are counted, not shown.
#include "app/main_window.h"
#include "app/module_texts.h"
#include "benchmarks/module_run/module_run.h"
#include "pages/page_list.h"
#include "platform/prompter.h"
#include "snmplib/exchange.h"
#include "tests/support/page_opening.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QUdpSocket>
#include <QWindow>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class CountingPrompter final : public platform::Prompter {
public:
    platform::Answer ask(const QString&, const QString& text, platform::Buttons) override {
        ++shown;
        last = text;
        return platform::Answer::Ok;
    }
    void beep() override {}
    int shown = 0;
    QString last;
};

// Turns the event loop until `done` holds or `ms` have passed; false on the time limit. Spins
// without sleeping: a page's time is measured to the turn.
bool turnUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

struct PageResult {
    std::vector<double> ms;
    int failures = 0; // raised on opening, or not showing its values in time
    int messages = 0;
};

double median(std::vector<double> v) {
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::map<QString, PageResult> measureProfile(const std::string& profile, int rounds,
                                             const QStringList& names) {
    std::map<QString, PageResult> results;
    bench::Workspace ws;
    bench::Device device(ws, profile, "127.78.0." + std::to_string(1 + profile.size()));
    qputenv("KW9100_REGISTRY", QByteArray::fromStdString(bench::writeModuleFiles(ws, device)));
    QDir::setCurrent(QString::fromStdString(ws.path())); // the session's boot counter
    CountingPrompter prompter;
    platform::setPrompter(&prompter);
    {
        TMainForm form(
            {QString::fromStdString("/I" + device.address()), QStringLiteral("/Rfenrow")});
        if (!form.started())
            throw std::runtime_error("the module did not start: " + prompter.last.toStdString());
        if (!test::holdMainWindow(form, turnUntil))
            throw std::runtime_error("the main window's exchanges did not end");
        const auto factories = app::pageFactories();
        for (int round = 0; round < rounds; ++round) {
            for (const QString& name : names) {
                PageResult& result = results[name];
                const int messagesBefore = prompter.shown;
                QElapsedTimer clock;
                clock.start();
                std::unique_ptr<QDialog> page;
                try {
                    page = factories.value(name)(&form);
                } catch (const std::exception&) {
                    ++result.failures;
                    continue;
                }
                page->show();
                const bool shown = test::showsDeviceValues(*page, turnUntil);
                const double ms = clock.nsecsElapsed() / 1e6;
                if (shown)
                    result.ms.push_back(ms);
                else
                    ++result.failures;
                result.messages += prompter.shown - messagesBefore;
                test::closeAsOperator(*page, turnUntil);
                page.reset();
                turnUntil([] { return qv::pendingExchanges() == 0; }, 10000);
            }
        }
    }
    platform::setPrompter(nullptr);
    return results;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(app::kModelName);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    std::vector<std::string> profiles;
    for (int i = 2; i < argc; ++i)
        profiles.emplace_back(argv[i]);
    if (profiles.empty())
        profiles = {"recent", "early"};

    // Transfer pages start their TFTP server: on a port of their own, not 69.
    {
        QUdpSocket probe;
        probe.bind(QHostAddress::LocalHost, 0);
        qputenv("KW9100_TFTP_PORT", QByteArray::number(probe.localPort()));
    }
    app::setPageFactories(pages::all());
    QStringList names = app::pageFactories().keys();
    names.sort();

    std::vector<std::map<QString, PageResult>> results;
    const QString savedDir = QDir::currentPath();
    try {
        for (const std::string& profile : profiles)
            results.push_back(measureProfile(profile, rounds, names));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    QDir::setCurrent(savedDir);

    std::printf("page opening (menu action -> device's values on the screen), median of %d, ms\n",
                rounds);
    std::printf("%-26s", "page");
    for (const std::string& p : profiles)
        std::printf(" %10s %9s", p.c_str(), "min-max");
    std::printf("\n");
    for (const QString& name : names) {
        std::printf("%-26s", qPrintable(name));
        for (auto& profileResults : results) {
            const PageResult& r = profileResults[name];
            if (r.ms.empty()) {
                std::printf(" %10s %9s", "failed", "");
                continue;
            }
            const auto [lo, hi] = std::minmax_element(r.ms.begin(), r.ms.end());
            std::printf(" %10.1f %4.0f-%-4.0f", median(r.ms), *lo, *hi);
        }
        for (size_t i = 0; i < results.size(); ++i) {
            const PageResult& r = results[i][name];
            if (r.failures || r.messages)
                std::printf("  [%s: %d failed, %d messages]", profiles[i].c_str(), r.failures,
                            r.messages);
        }
        std::printf("\n");
    }
    return 0;
}
