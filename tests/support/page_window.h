#pragma once
// A page opened in the main window against the simulated device, as its menu item opens it, and
// closed before the window and the device go.
#include "tests/support/device_window.h"

#include <functional>
#include <memory>

namespace test {

template <class PageT, class Base = DeviceWindow> class PageWindow : public Base {
protected:
    void TearDown() override {
        page.reset();
        Base::TearDown();
    }
    // Opens the page once the capability flags it reads have their answers (and stay so).
    PageT& showPage() {
        page.reset();
        this->holdCapabilityRefresh();
        page = std::make_unique<PageT>(this->form.get());
        page->show();
        return *page;
    }
    // True once the page has no exchange outstanding (false after 20 s).
    bool settled() {
        return kwtest::SimDevice::waitUntil([&] { return !page->exchangesOutstanding(); }, 20000);
    }
    // On the running device: the simulator control `commands` (refusals, delays, values), the
    // page opened and its opening reads ended (`ready`, else no exchange outstanding), then what
    // the opening sent and showed forgotten, so a test sees only what it causes.
    void reopenPage(const QStringList& commands = {}, const std::function<bool()>& ready = {}) {
        for (const QString& command : commands)
            ASSERT_TRUE(this->sim->command(command)) << command.toStdString();
        showPage();
        if (ready)
            ASSERT_TRUE(kwtest::SimDevice::waitUntil(ready, 20000));
        else
            ASSERT_TRUE(settled());
        this->sim->clearJournal();
        this->prompter.shown.clear();
    }
    // The device started with `profile`, then reopenPage().
    void openOn(const QString& profile, const QStringList& commands = {},
                const std::function<bool()>& ready = {}) {
        this->start(profile);
        if (this->HasFatalFailure())
            return;
        reopenPage(commands, ready);
    }

    std::unique_ptr<PageT> page;
};

} // namespace test
