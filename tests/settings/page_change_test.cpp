// A setting changed through its page shows in the next export, and only that setting: the log
// settings page against the simulated device, kw9100-settings before and after.
#include "pages/service/log_settings.h"
#include "tests/settings/settings_run.h"
#include "tests/support/page_window.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

class SettingsAfterAPage : public test::PageWindow<TFM_LogSet> {
protected:
    test::SettingsResult settingsRun(const QStringList& args) {
        return test::runSettings(args, dir.path() + "/registry.ini", dir.path());
    }
};

TEST_F(SettingsAfterAPage, TheExportShowsTheOneSettingThePageChanged) {
    openOn("recent");
    ASSERT_FALSE(HasFatalFailure());
    const QString before = dir.path() + "/before.txt";
    const test::SettingsResult exported = settingsRun(
        QStringList{"export"} + test::deviceSwitches(*sim) + QStringList{"-q", "-o", before});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();

    ASSERT_FALSE(page->ui->NoticeLevCeBox->isChecked());
    page->ui->NoticeLevCeBox->setChecked(true);
    page->ui->Bt_Apply->click();
    ASSERT_TRUE(settled());
    ASSERT_FALSE(sets().isEmpty());

    const test::SettingsResult after =
        settingsRun(QStringList{"diff", before} + test::deviceSwitches(*sim) + QStringList{"-q"});
    EXPECT_EQ(after.exitCode, 1) << after.err.toStdString();
    EXPECT_EQ(after.out, "[Status \\ Log \\ Log Setting]\n"
                         "-adNoticeLevel = Disable\n"
                         "+adNoticeLevel = Enable\n");
}

} // namespace
