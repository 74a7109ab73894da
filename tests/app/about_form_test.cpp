#include "app/about_form.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

TEST(AboutForm, ShowsModelAndVersionAndRevealsReleaseOnShiftAltF3) {
    TAboutForm form(nullptr);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Help\\About");
    auto* title = form.findChild<QLabel*>("Label1");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "KW-9100 Management Module");
    EXPECT_EQ(form.findChild<QLabel*>("La_Version")->text(), "v2.50");

    auto* ok = form.findChild<QPushButton*>("BT_Ok");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(form.releaseLabel()->isHidden());
    // Only the exact chord reveals the release label.
    QTest::keyClick(ok, Qt::Key_F3, Qt::AltModifier);
    QTest::keyClick(ok, Qt::Key_F3, Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
    EXPECT_TRUE(form.releaseLabel()->isHidden());
    QTest::keyClick(ok, Qt::Key_F3, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_FALSE(form.releaseLabel()->isHidden());
    EXPECT_EQ(form.releaseLabel()->text(), "R07(2008/08/22)");

    ok->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

} // namespace
