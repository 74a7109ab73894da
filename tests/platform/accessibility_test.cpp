// What assistive tools are told about hidden tabs and about list views kept out of sight.
#include "platform/accessibility.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QAccessibleInterface* tab(QTabWidget& tabs, int index) {
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(tabs.tabBar());
    return bar ? bar->child(index) : nullptr;
}

TEST(Accessibility, AHiddenTabIsAnnouncedAsHiddenAndCannotBeChosen) {
    QTabWidget tabs;
    tabs.addTab(new QLabel(QStringLiteral("clients")), QStringLiteral("Client Info"));
    tabs.addTab(new QLabel(QStringLiteral("peers")), QStringLiteral("WDS Info"));
    tabs.setTabVisible(1, false);
    tabs.show();

    QAccessibleInterface* shown = tab(tabs, 0);
    QAccessibleInterface* hidden = tab(tabs, 1);
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(shown->role(), QAccessible::PageTab);
    EXPECT_EQ(shown->text(QAccessible::Name), "Client Info");
    EXPECT_FALSE(shown->state().invisible);
    EXPECT_TRUE(shown->state().selected);
    EXPECT_FALSE(shown->rect().isEmpty());
    EXPECT_EQ(hidden->text(QAccessible::Name), "WDS Info");
    EXPECT_TRUE(hidden->state().invisible);
    EXPECT_TRUE(hidden->rect().isEmpty());
    ASSERT_NE(hidden->actionInterface(), nullptr);
    EXPECT_TRUE(hidden->actionInterface()->actionNames().isEmpty());
    hidden->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(tabs.tabBar())->indexOfChild(hidden), 1);

    // Shown again, it is a tab like the other.
    tabs.setTabVisible(1, true);
    EXPECT_FALSE(hidden->state().invisible);
    hidden->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs.currentIndex(), 1);
}

QStringList headerNames(QTreeWidget& list) {
    QStringList out;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&list);
    for (int i = 0; iface && i < iface->childCount(); ++i)
        if (QAccessibleInterface* c = iface->child(i); c && c->role() == QAccessible::ColumnHeader)
            out << c->text(QAccessible::Name);
    return out;
}

TEST(Accessibility, AListOutOfSightOffersNeitherRowsNorColumnNames) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* shownList = new QTreeWidget;
    auto* workingList = new QTreeWidget;
    for (QTreeWidget* list : {shownList, workingList}) {
        list->setHeaderLabels({QStringLiteral("adEthernetFilterMACIndex"), QStringLiteral("MAC")});
        new QTreeWidgetItem(list, {QStringLiteral("1"), QStringLiteral("000F3D0000C1")});
        layout->addWidget(list);
    }
    // As a form builds it: announced (and so known to the toolkit) before it is hidden.
    workingList->setAccessibleName(QStringLiteral("MAC Address slots"));
    ASSERT_NE(QAccessible::queryAccessibleInterface(workingList), nullptr);
    workingList->setVisible(false);
    window.show();

    EXPECT_EQ(headerNames(*shownList).size(), 2);
    QAccessibleInterface* working = QAccessible::queryAccessibleInterface(workingList);
    ASSERT_NE(working, nullptr);
    EXPECT_EQ(working->text(QAccessible::Name), "MAC Address slots");
    EXPECT_TRUE(working->state().invisible);
    EXPECT_EQ(working->childCount(), 0);

    // Brought into sight, it is the toolkit's table; out of sight again, nothing again.
    workingList->show();
    EXPECT_EQ(headerNames(*workingList),
              (QStringList{QStringLiteral("adEthernetFilterMACIndex"), QStringLiteral("MAC")}));
    workingList->hide();
    EXPECT_TRUE(headerNames(*workingList).isEmpty());
}

} // namespace
