// Pictures of the wireless page for review beyond what scripts/screenshots.sh shows: the compact
// layout, and the full layout in access-point, WDS (with a site survey) and repeater modes with
// their security sections. Run by hand (one line):
//   KW_SHOT_DIR=DIR QT_QPA_PLATFORM=offscreen build-test/bin/kw_tests_pages
//       --gtest_also_run_disabled_tests --gtest_filter='WirelessShots.*'
#include "platform/events.h"
#include "tests/pages/radio/wireless_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>

namespace {

class WirelessShots : public test::WirelessPage {
protected:
    void shoot(const QString& name) {
        const QString dir = qEnvironmentVariable("KW_SHOT_DIR", QDir::tempPath());
        platform::processPendingEvents();
        const QPixmap picture = page->grab();
        ASSERT_EQ(picture.size(), page->size());
        const QString path = dir + "/" + name + ".png";
        ASSERT_TRUE(picture.save(path)) << path.toStdString();
    }
};

TEST_F(WirelessShots, DISABLED_Layouts) {
    open("wireless-compact");
    shoot("wireless-compact");
    page.reset();
    form.reset();
    sim.reset();

    open("recent");
    shoot("wireless-full-ap-wep");
    choose(page->ui->Ed_SecAuthaTemp, "WPA2-Enterprise");
    shoot("wireless-full-ap-enterprise");
    choose(page->ui->ED_APModeTempComboBox, "WDS");
    choose(page->ui->Ed_SecAuthaTemp, "WPA-Personal");
    page->SiteScanClick();
    QElapsedTimer clock;
    clock.start();
    while (!page->surveyIdle && clock.elapsed() < 10000)
        platform::processPendingEvents();
    shoot("wireless-full-wds-survey");
    choose(page->ui->ED_APModeTempComboBox, "AP Repeater");
    shoot("wireless-full-repeater");
}

} // namespace
