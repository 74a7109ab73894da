// Choices on check boxes, radio buttons and radio groups reach the page's rule once, however they
// are made (a mouse click, the space bar, an assistive tool's toggle or press, a program's
// setChecked), and never while values are shown or while the control cannot be seen.
#include "binding/choice.h"
#include "binding/operator_choice.h"
#include "binding/radio_group.h"

#include <functional>
#include <gtest/gtest.h>
#include <QAccessible>
#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace {

void act(QWidget* control, const QString& action) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(iface, nullptr);
    ASSERT_NE(iface->actionInterface(), nullptr);
    ASSERT_TRUE(iface->actionInterface()->actionNames().contains(action))
        << iface->actionInterface()->actionNames().join(',').toStdString();
    iface->actionInterface()->doAction(action);
}

// Two radio buttons (exclusive, as on a page) and a check box, each with a rule that counts.
struct Form {
    QWidget window;
    QRadioButton* none = new QRadioButton(QStringLiteral("None "));
    QRadioButton* telnet = new QRadioButton(QStringLiteral("Telnet"));
    QCheckBox* box = new QCheckBox(QStringLiteral("Enable"));
    int radioRule = 0;
    int boxRule = 0;

    Form() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : {static_cast<QWidget*>(none), static_cast<QWidget*>(telnet),
                           static_cast<QWidget*>(box)})
            layout->addWidget(w);
        none->setChecked(true);
        for (QRadioButton* b : {none, telnet})
            QvOnChoice(b, &window, [this] { ++radioRule; });
        QvOnChoice(box, &window, [this] { ++boxRule; });
        window.show();
    }
};

TEST(Choice, EachWayOfChoosingRunsTheRuleOnce) {
    struct Case {
        const char* name;
        std::function<void(Form&)> choose;
        bool telnetChosen, boxChecked;
    };
    const auto toggle = QAccessibleActionInterface::toggleAction();
    const Case cases[] = {
        {"mouse",
         [](Form& f) {
             QTest::mouseClick(f.telnet, Qt::LeftButton);
             QTest::mouseClick(f.box, Qt::LeftButton);
         },
         true, true},
        {"space bar",
         [](Form& f) {
             QTest::keyClick(f.telnet, Qt::Key_Space);
             QTest::keyClick(f.box, Qt::Key_Space);
         },
         true, true},
        {"toggle action",
         [&](Form& f) {
             act(f.telnet, toggle);
             act(f.box, toggle);
         },
         true, true},
        {"program",
         [](Form& f) {
             f.telnet->setChecked(true);
             f.box->setChecked(true);
         },
         true, true},
        {"program, from a box showing no choice",
         [](Form& f) {
             f.telnet->setChecked(true);
             {
                 const QvShowingValues showing;
                 qv::ShowNoChoice(f.box);
             }
             // No toggle: a box showing no choice counts as checked already.
             f.box->setCheckState(Qt::Checked);
         },
         true, true},
        {"click()",
         [](Form& f) {
             f.telnet->click();
             f.box->click();
         },
         true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form f;
        c.choose(f);
        EXPECT_EQ(f.telnet->isChecked(), c.telnetChosen);
        EXPECT_EQ(f.box->isChecked(), c.boxChecked);
        // One choice each: the partner turning off and the click after its toggle add none.
        EXPECT_EQ(f.radioRule, 1);
        EXPECT_EQ(f.boxRule, 1);
    }
}

TEST(Choice, ClickingTheChosenRadioButtonIsAChoiceTogglingItIsNone) {
    Form f;
    f.none->click(); // already selected: the operator chose it again
    EXPECT_EQ(f.radioRule, 1);
    // An assistive tool's toggle cannot take a radio button out of its group: nothing changes.
    act(f.none, QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(f.none->isChecked());
    EXPECT_EQ(f.radioRule, 1);
}

TEST(Choice, ShownValuesHiddenControlsAndTheRuleItselfMakeNoChoice) {
    Form f;
    {
        const QvShowingValues showing;
        f.box->setChecked(true);
        f.telnet->setChecked(true);
    }
    EXPECT_EQ(f.boxRule, 0);
    EXPECT_EQ(f.radioRule, 0);

    // A page being built (not yet shown) sets its controls itself.
    f.box->hide();
    f.box->setChecked(false);
    EXPECT_EQ(f.boxRule, 0);
    f.box->show();

    // A rule that puts its box back (a confirmation refused) is not run again by that.
    QCheckBox box(QStringLiteral("Enable"));
    int runs = 0;
    QvOnChoice(&box, &box, [&] {
        ++runs;
        if (!box.isChecked())
            box.setChecked(true);
    });
    box.setChecked(true);
    box.show();
    QTest::mouseClick(&box, Qt::LeftButton);
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(runs, 1);
}

TEST(Choice, ARadioGroupReportsEveryChoiceButNotTheValuesShown) {
    QvRadioGroup group(QStringLiteral(" BSS Type "));
    group.addItems({QStringLiteral("AP BSS"), QStringLiteral("Ad Hoc"), QStringLiteral("Both")});
    group.show();
    QSignalSpy chosen(&group, &QvRadioGroup::chosen);
    QSignalSpy clicked(&group, &QvRadioGroup::clicked);

    QTest::mouseClick(group.button(1), Qt::LeftButton);
    act(group.button(2), QAccessibleActionInterface::toggleAction());
    group.setCurrentIndex(0);
    {
        const QvShowingValues showing;
        group.setCurrentIndex(1);
    }
    QTest::mouseClick(group.button(1), Qt::LeftButton); // the selected item, clicked again

    QList<int> indices;
    for (const QList<QVariant>& args : chosen)
        indices << args[0].toInt();
    EXPECT_EQ(indices, (QList<int>{1, 2, 0, 1}));
    EXPECT_EQ(clicked.size(), 2); // clicks stay clicks
    EXPECT_EQ(group.currentIndex(), 1);
}

} // namespace
