#include "binding/list_view_rows.h"

#include "snmplib/varlist.h"

#include <QHeaderView>
#include <QPalette>
#include <QTreeWidget>

namespace qv {

namespace {

// A QTreeWidget starts with one untitled column ("1"); that is no column a page designed.
int designedColumns(const QTreeWidget& lv) {
    if (lv.columnCount() == 1 && lv.headerItem()->text(0) == QLatin1String("1"))
        return 0;
    return lv.columnCount();
}

} // namespace

std::vector<int> ColumnOrder(const QvSNMPVarList& vars) {
    std::vector<int> order;
    for (int i = 0; i < vars.count(); ++i) {
        if (vars.hiddenColumn(i))
            order.push_back(i);
    }
    for (int i = 0; i < vars.count(); ++i) {
        if (vars.shownColumn(i))
            order.push_back(i);
    }
    return order;
}

void PrepareListView(QTreeWidget& lv) {
    lv.setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv.setSelectionBehavior(QAbstractItemView::SelectRows);
    lv.setSelectionMode(QAbstractItemView::SingleSelection);
    lv.setRootIsDecorated(false);
    lv.setItemsExpandable(false);
    lv.setAllColumnsShowFocus(true);
    lv.setUniformRowHeights(true);
    lv.setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid palette(midlight);"
                                    " border-bottom: 1px solid palette(midlight); }"));
    QPalette p = lv.palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    lv.setPalette(p);
}

void MakeColumns(QTreeWidget& lv, const QvSNMPVarList& vars) {
    const std::vector<int> order = ColumnOrder(vars);
    if (designedColumns(lv) >= static_cast<int>(order.size()))
        return;
    QStringList captions;
    for (int i : order)
        captions << vars.item(i).name;
    lv.setColumnCount(0);
    lv.setHeaderLabels(captions);
    const int hidden = vars.CountHidden();
    for (int c = 0; c < static_cast<int>(order.size()); ++c) {
        if (c < hidden) {
            lv.setColumnWidth(c, 0);
            lv.setColumnHidden(c, true);
        } else {
            lv.setColumnHidden(c, false);
            lv.resizeColumnToContents(c);
        }
    }
}

void AddRow(QTreeWidget& lv, const QvSNMPVarList& vars, const std::optional<QString>& caption) {
    auto* row = new QTreeWidgetItem(&lv); // owned by the list view
    int column = 0;
    for (int i : ColumnOrder(vars)) {
        row->setText(column, column == 0 && caption ? *caption : vars.item(i).value);
        ++column;
    }
}

void LoadSelectedRow(const QTreeWidget& lv, QvSNMPVarList& vars) {
    const QList<QTreeWidgetItem*> selected = lv.selectedItems();
    if (selected.isEmpty())
        return;
    const QTreeWidgetItem* row = selected.first();
    int column = 0;
    for (int i : ColumnOrder(vars)) {
        if (column >= lv.columnCount())
            break;
        vars.item(i).value = row->text(column);
        ++column;
    }
}

} // namespace qv
