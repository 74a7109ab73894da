#pragma once
// A report-style list view (QTreeWidget) showing one row per table row of a variable list.
//
// Columns: first one per *hidden column* variable (access exactly writeonly, or flagged invalid
// or hidden), in list order, hidden from view; then one per *shown column* variable, in list
// order, as wide as its caption. A row holds the variables' texts in that same order, so the
// hidden variables (often the key the page needs to write the row back) travel with the row.
#include <optional>
#include <QString>
#include <vector>

class QTreeWidget;
class QvSNMPVarList;

namespace qv {

// Variable indices in column order: the hidden-column variables, then the shown-column ones.
std::vector<int> ColumnOrder(const QvSNMPVarList& vars);

// Read-only, one whole row selected at a time, flat (report view), grid-lined, and the
// selection kept visible when the list loses the focus.
void PrepareListView(QTreeWidget& listView);

// Rebuilds the columns unless the list view already has at least as many as the list has
// hidden and shown variables (columns a page designed itself stay).
void MakeColumns(QTreeWidget& listView, const QvSNMPVarList& vars);

// Appends a row of the variables' current texts; `caption` replaces the first value.
void AddRow(QTreeWidget& listView, const QvSNMPVarList& vars,
            const std::optional<QString>& caption = std::nullopt);

// The selected row's texts back into the variables (nothing when no row is selected).
void LoadSelectedRow(const QTreeWidget& listView, QvSNMPVarList& vars);

} // namespace qv
