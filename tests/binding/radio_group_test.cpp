#include "binding/radio_group.h"

#include "snmplib/option_list.h"

#include <array>
#include <gtest/gtest.h>
#include <QAccessible>
#include <QGridLayout>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList texts(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* item : items)
        out << QString::fromLatin1(item);
    return out;
}

// Row and column of an item's button in the group's grid.
std::pair<int, int> cellOf(const QvRadioGroup& group, int index) {
    auto* grid = static_cast<QGridLayout*>(group.layout());
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(group.button(index)), &row, &column, &rowSpan, &columnSpan);
    return {row, column};
}

TEST(RadioGroup, ItemsFillColumnByColumn) {
    struct Case {
        int items;
        int columns;
        std::vector<std::pair<int, int>> cells; // (row, column) per item
    };
    const Case cases[] = {
        {2, 2, {{0, 0}, {0, 1}}},                         // "Trap Status": side by side
        {3, 1, {{0, 0}, {1, 0}, {2, 0}}},                 // " BSS Type ": one column
        {5, 2, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}}}, // first column first
        {4, 3, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.items << " items in " << c.columns << " columns");
        QvRadioGroup group;
        group.setColumns(c.columns);
        for (int i = 0; i < c.items; ++i)
            group.addItem(QStringLiteral("item %1").arg(i));
        ASSERT_EQ(group.count(), c.items);
        for (int i = 0; i < c.items; ++i)
            EXPECT_EQ(cellOf(group, i), c.cells[static_cast<size_t>(i)]) << "item " << i;
        // Changing the columns afterwards arranges the same buttons again.
        group.setColumns(1);
        for (int i = 0; i < c.items; ++i)
            EXPECT_EQ(cellOf(group, i), std::make_pair(i, 0));
    }
}

TEST(RadioGroup, SelectionFollowsTheIndexAndReportsEachChangeOnce) {
    QvRadioGroup group(QStringLiteral("Trap Status"));
    group.addItems(texts({"Disable", "Enable"}));
    EXPECT_EQ(group.currentIndex(), -1);
    QSignalSpy changed(&group, &QvRadioGroup::currentIndexChanged);
    QSignalSpy clicked(&group, &QvRadioGroup::clicked);

    struct Step {
        int set;
        int current;
        const char* text;
        bool signalled;
    };
    const Step steps[] = {
        {1, 1, "Enable", true},  {1, 1, "Enable", false}, // same index: no signal
        {0, 0, "Disable", true}, {-1, -1, "", true},      // none selected
        {2, -1, "", false},                               // outside the items: none
        {1, 1, "Enable", true},  {-5, -1, "", true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.set);
        changed.clear();
        group.setCurrentIndex(s.set);
        EXPECT_EQ(group.currentIndex(), s.current);
        EXPECT_EQ(group.currentText(), QString::fromLatin1(s.text));
        EXPECT_EQ(changed.size(), s.signalled ? 1 : 0);
        for (int i = 0; i < group.count(); ++i)
            EXPECT_EQ(group.button(i)->isChecked(), i == s.current) << "button " << i;
    }
    EXPECT_TRUE(clicked.isEmpty()); // the program's selections are not clicks

    group.setCurrentIndex(1);
    changed.clear();
    group.setItems(texts({"AP BSS", "Ad Hoc", "Both"}));
    EXPECT_EQ(group.currentIndex(), -1);
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(group.items(), texts({"AP BSS", "Ad Hoc", "Both"}));
    for (int i = 0; i < group.count(); ++i)
        EXPECT_FALSE(group.button(i)->isChecked());
    group.clear();
    EXPECT_EQ(group.count(), 0);
    EXPECT_EQ(group.button(0), nullptr);
}

TEST(RadioGroup, OperatorClicksSelectAndAreReported) {
    QvRadioGroup group(QStringLiteral(" BSS Type "));
    group.addItems(texts({"AP BSS", "Ad Hoc", "Both"}));
    group.show();
    QSignalSpy changed(&group, &QvRadioGroup::currentIndexChanged);
    QSignalSpy clicked(&group, &QvRadioGroup::clicked);

    QTest::mouseClick(group.button(2), Qt::LeftButton);
    EXPECT_EQ(group.currentIndex(), 2);
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 2);
    EXPECT_EQ(changed.size(), 1);

    // A click on the selected item is still a click, but no change.
    QTest::mouseClick(group.button(2), Qt::LeftButton);
    EXPECT_EQ(clicked.size(), 2);
    EXPECT_EQ(changed.size(), 1);

    QTest::mouseClick(group.button(0), Qt::LeftButton);
    EXPECT_EQ(group.currentIndex(), 0);
    EXPECT_TRUE(group.button(0)->isChecked());
    EXPECT_FALSE(group.button(2)->isChecked());
    EXPECT_EQ(changed.size(), 2);
}

TEST(RadioGroup, ArrowKeysMoveTheSelectionLikeClicks) {
    QvRadioGroup group;
    group.addItems(texts({"AP BSS", "Ad Hoc", "Both"}));
    group.show();
    group.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&group));
    QSignalSpy changed(&group, &QvRadioGroup::currentIndexChanged);
    group.setCurrentIndex(0);
    group.button(0)->setFocus();
    QTest::keyClick(group.button(0), Qt::Key_Down);
    EXPECT_EQ(group.currentIndex(), 1);
    EXPECT_TRUE(group.button(1)->isChecked());
    QTest::keyClick(group.button(1), Qt::Key_Down);
    EXPECT_EQ(group.currentIndex(), 2);
    EXPECT_EQ(changed.size(), 3);
}

TEST(RadioGroup, OptionListsFillAndSelectIt) {
    static constexpr std::array<QvOptionSource, 2> kTrapStatus{{{0, "Disable"}, {1, "Enable"}}};
    const QvOptionList options(kTrapStatus);
    QvRadioGroup group;
    group.addItem(QStringLiteral("left over"));
    options.FillItems(&group);
    EXPECT_EQ(group.items(), texts({"Disable", "Enable"}));
    const std::pair<const char*, int> selections[] = {
        {"Enable", 1}, {"0", 0}, {"1", 1}, {"7", -1}, {"Disable", 0}, {"(NULL)", -1}};
    for (const auto& [text, index] : selections) {
        SCOPED_TRACE(text);
        options.SelectItem(&group, QString::fromLatin1(text));
        EXPECT_EQ(group.currentIndex(), index);
    }
}

TEST(RadioGroup, AClickHandlerMayReplaceTheItems) {
    QvRadioGroup group;
    group.addItems(texts({"Disable", "Enable"}));
    group.show();
    QObject::connect(&group, &QvRadioGroup::clicked, &group, [&group](int) {
        group.setItems(texts({"Never", "1 Min", "3 Mins"}));
    });
    QTest::mouseClick(group.button(1), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(group.count(), 3);
    EXPECT_EQ(group.currentIndex(), -1);
    QTest::mouseClick(group.button(2), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(group.itemText(2), QStringLiteral("3 Mins"));
}

TEST(RadioGroup, ButtonsAreNamedAfterTheGroupAndAnnouncedByTheirText) {
    QvRadioGroup group(QStringLiteral("Trap Status"));
    group.addItems(texts({"Disable", "Enable"})); // items first, name afterwards
    group.setObjectName(QStringLiteral("RG_TrapStatus"));
    EXPECT_EQ(group.button(0)->objectName(), QStringLiteral("RG_TrapStatus_0"));
    EXPECT_EQ(group.button(1)->objectName(), QStringLiteral("RG_TrapStatus_1"));
    EXPECT_EQ(group.button(1)->accessibleName(), QStringLiteral("Enable"));
    EXPECT_EQ(group.findChild<QRadioButton*>(QStringLiteral("RG_TrapStatus_1")), group.button(1));

    group.setItems(texts({"AP BSS", "Ad Hoc", "Both"})); // name first, items afterwards
    EXPECT_EQ(group.button(2)->objectName(), QStringLiteral("RG_TrapStatus_2"));
    EXPECT_EQ(group.button(2)->text(), QStringLiteral("Both"));
    QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(&group);
    ASSERT_NE(announced, nullptr);
    EXPECT_EQ(announced->text(QAccessible::Name), QStringLiteral("Trap Status"));
}

} // namespace
