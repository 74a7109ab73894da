#pragma once
// What the tests of the administration pages share: a fresh device started from a profile and
// set up by control commands, the page opened on it once its opening reads have ended, and what
// the opening did (journal, messages, wait dialogs) forgotten before the test's own steps.
#include "tests/support/device_window.h"
#include "tests/support/wait_watcher.h"

#include <memory>
#include <QStatusBar>
#include <QStringList>

namespace test {

template <class Page> class ServicePage : public DeviceWindow {
protected:
    void openOn(const QString& profile, const QStringList& commands = {}) {
        page.reset();
        form.reset();
        sim.reset();
        start(profile);
        for (const QString& command : commands)
            ASSERT_TRUE(sim->command(command)) << command.toStdString();
        holdCapabilityRefresh();
        page = std::make_unique<Page>(form.get());
        page->show();
        settle();
        forget();
    }
    // Waits until the page's exchanges on their way have ended.
    void settle() {
        ASSERT_TRUE(
            kwtest::SimDevice::waitUntil([&] { return !page->exchangesOutstanding(); }, 8000));
    }
    void forget() {
        sim->clearJournal();
        prompter.shown.clear();
        waits.seen.clear();
    }
    void TearDown() override {
        page.reset();
        DeviceWindow::TearDown();
    }
    QString status() const { return page->ui->StatusBar->currentMessage(); }

    WaitWatcher waits;
    std::unique_ptr<Page> page;
};

} // namespace test
