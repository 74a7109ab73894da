// What assistive tools are told about hidden tabs, hidden columns and list views kept out of
// sight.
#include "platform/accessibility.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QLabel>
#include <QList>
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

TEST(Accessibility, AColumnAListHidesIsAnnouncedAsHiddenAndLeftOutOfItsTable) {
    QTreeWidget list;
    list.setHeaderLabels(
        {QStringLiteral("Index"), QStringLiteral("BSSID"), QStringLiteral("SSID")});
    const QStringList ssids = {QStringLiteral("north-wing"), QStringLiteral("lab")};
    for (int r = 0; r < 2; ++r)
        new QTreeWidgetItem(&list, {QStringLiteral("idx%1").arg(r + 1),
                                    QStringLiteral("000F3D0A0B0%1").arg(r + 1), ssids[r]});
    list.setColumnHidden(0, true);
    list.show();

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(iface, nullptr);
    QStringList shownHeaders, hiddenNames, shownTexts;
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* c = iface->child(i);
        ASSERT_NE(c, nullptr) << i;
        EXPECT_EQ(iface->indexOfChild(c), i);
        if (c->state().invisible)
            hiddenNames << c->text(QAccessible::Name);
        else if (c->role() == QAccessible::ColumnHeader)
            shownHeaders << c->text(QAccessible::Name);
        else
            shownTexts << c->text(QAccessible::Name);
    }
    EXPECT_EQ(shownHeaders, (QStringList{QStringLiteral("BSSID"), QStringLiteral("SSID")}));
    EXPECT_EQ(shownTexts, (QStringList{QStringLiteral("000F3D0A0B01"), ssids[0],
                                       QStringLiteral("000F3D0A0B02"), ssids[1]}));
    EXPECT_EQ(hiddenNames, (QStringList{QString(), QString(), QString()})); // header, two cells

    QAccessibleTableInterface* table = iface->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnDescription(0), "BSSID");
    ASSERT_NE(table->cellAt(1, 1), nullptr);
    EXPECT_EQ(table->cellAt(1, 1)->text(QAccessible::Name), "lab");
    QAccessibleTableCellInterface* cell = table->cellAt(1, 1)->tableCellInterface();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->columnIndex(), 1);
    ASSERT_EQ(cell->columnHeaderCells().size(), 1);
    EXPECT_EQ(cell->columnHeaderCells().first()->text(QAccessible::Name), "SSID");

    // The list's own focus and selection events name a cell by its place among every column of
    // the model, header row first: (row + 1) x columns + column.
    const int columns = list.columnCount();
    EXPECT_EQ(iface->child((1 + 1) * columns + 2)->text(QAccessible::Name), "lab");
    EXPECT_EQ(iface->child(0 * columns + 1)->text(QAccessible::Name), "BSSID");

    // A row chosen through the table is the list's selection.
    EXPECT_TRUE(table->selectRow(1));
    EXPECT_EQ(list.selectedItems(), QList<QTreeWidgetItem*>{list.topLevelItem(1)});
    EXPECT_TRUE(table->isRowSelected(1));
    EXPECT_EQ(table->selectedRows(), QList<int>{1});
    EXPECT_TRUE(table->cellAt(1, 0)->state().selected);

    // Shown again, the column is announced with its header and cells.
    list.setColumnHidden(0, false);
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), "idx1");
    EXPECT_FALSE(iface->child(0)->state().invisible);

    // Rows removed: what the list offers follows.
    delete list.takeTopLevelItem(0);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->cellAt(0, 2)->text(QAccessible::Name), "lab");
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

    // Brought into sight, it is a table like the other; out of sight again, nothing again.
    workingList->show();
    EXPECT_EQ(headerNames(*workingList),
              (QStringList{QStringLiteral("adEthernetFilterMACIndex"), QStringLiteral("MAC")}));
    workingList->hide();
    EXPECT_TRUE(headerNames(*workingList).isEmpty());
}

} // namespace
