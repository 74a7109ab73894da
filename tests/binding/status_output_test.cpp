#include "binding/status_output.h"

#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

namespace {

TEST(StatusOutput, MemoGetsLinesStatusBarAndPanelTheText) {
    QPlainTextEdit memo;
    QStatusBar bar;
    QLabel panel;
    for (QWidget* out : {static_cast<QWidget*>(&memo), static_cast<QWidget*>(&bar),
                         static_cast<QWidget*>(&panel)}) {
        EXPECT_TRUE(qv::WriteStatus(out, "first"));
        EXPECT_TRUE(qv::WriteStatus(out, "second"));
    }
    EXPECT_EQ(memo.toPlainText(), "first\nsecond");
    EXPECT_EQ(bar.currentMessage(), "second");
    EXPECT_EQ(panel.text(), "second");
}

TEST(StatusOutput, AnythingElseIsNoOutput) {
    QPushButton button("caption");
    EXPECT_FALSE(qv::WriteStatus(&button, "line"));
    EXPECT_EQ(button.text(), "caption");
    EXPECT_FALSE(qv::WriteStatus(nullptr, "line"));
}

} // namespace
