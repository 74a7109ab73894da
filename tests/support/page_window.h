#pragma once
// A page opened in the main window against the simulated device, as its menu item opens it, and
// closed before the window and the device go.
#include "tests/support/device_window.h"

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
        this->holdCapabilityRefresh();
        page = std::make_unique<PageT>(this->form.get());
        page->show();
        return *page;
    }

    std::unique_ptr<PageT> page;
};

} // namespace test
