#include "platform/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QTabBar>
#include <QToolButton>
#include <QTreeView>
#include <utility>

namespace platform {
namespace {

// A part of a widget that is no widget itself (a tab, a list's cell): no children, no text to
// set, the widget as its parent.
class PartAccessible : public QAccessibleInterface {
public:
    explicit PartAccessible(QWidget* owner) : owner_(owner) {}

    QObject* object() const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

private:
    QPointer<QWidget> owner_;
};

// ---- Tabs ------------------------------------------------------------------------------------

// One tab of a tab bar.
class TabAccessible : public PartAccessible, public QAccessibleActionInterface {
public:
    TabAccessible(QTabBar* bar, int index) : PartAccessible(bar), bar_(bar), index_(index) {}

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    // Whether the operator can see the tab: a tab the page hid is not shown, whatever its bar.
    bool shown() const { return isValid() && bar_->isVisible() && bar_->isTabVisible(index_); }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.invisible = !shown();
        s.disabled = !bar_->isTabEnabled(index_);
        s.selectable = shown();
        s.selected = bar_->currentIndex() == index_;
        return s;
    }

    QRect rect() const override {
        if (!shown())
            return {};
        const QRect r = bar_->tabRect(index_);
        return {bar_->mapToGlobal(r.topLeft()), r.size()};
    }

    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name: {
            const QString name = bar_->accessibleTabName(index_);
            return name.isEmpty() ? QString(bar_->tabText(index_)).remove(QLatin1Char('&')) : name;
        }
        case QAccessible::Description:
            return bar_->tabToolTip(index_);
        default:
            return {};
        }
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    // A hidden tab offers nothing to do.
    QStringList actionNames() const override {
        return shown() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && shown() && bar_->isTabEnabled(index_))
            bar_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int index() const { return index_; }

private:
    QPointer<QTabBar> bar_;
    int index_;
};

// A tab bar: its tabs, then its scroll buttons.
class TabBarAccessible : public QAccessibleWidget {
public:
    explicit TabBarAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TabBarAccessible() override {
        for (QAccessible::Id id : std::as_const(tabs_))
            QAccessible::deleteAccessibleInterface(id);
    }

    QTabBar* bar() const { return static_cast<QTabBar*>(widget()); }

    int childCount() const override {
        return bar()->count() + static_cast<int>(scrollButtons().size());
    }

    QAccessibleInterface* child(int index) const override {
        const int tabs = bar()->count();
        if (index < 0)
            return nullptr;
        if (index >= tabs)
            return QAccessible::queryAccessibleInterface(scrollButtons().value(index - tabs));
        if (const QAccessible::Id id = tabs_.value(index))
            return QAccessible::accessibleInterface(id);
        auto* tab = new TabAccessible(bar(), index);
        tabs_.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        if (child->role() == QAccessible::PageTab && !child->object()) {
            for (auto it = tabs_.cbegin(); it != tabs_.cend(); ++it)
                if (QAccessible::accessibleInterface(it.value()) == child)
                    return it.key();
            return -1;
        }
        const int i = static_cast<int>(scrollButtons().indexOf(child->object()));
        return i < 0 ? -1 : bar()->count() + i;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* c = child(i);
            if (c && !c->state().invisible && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && bar()->currentIndex() >= 0) {
            if (QAccessibleInterface* current = child(bar()->currentIndex()))
                return current->text(t);
        }
        return QAccessibleWidget::text(t);
    }

private:
    QList<QObject*> scrollButtons() const {
        QList<QObject*> out;
        for (QToolButton* b : bar()->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
            out.append(b);
        return out;
    }

    mutable QHash<int, QAccessible::Id> tabs_;
};

// ---- List views ------------------------------------------------------------------------------

bool columnShown(const QTreeView& view, int column) {
    return !view.header()->isSectionHidden(column) && view.header()->sectionSize(column) > 0;
}

// The columns the operator sees (hidden ones and those without width left out), in screen order.
QList<int> shownColumns(const QTreeView& view) {
    QList<int> out;
    const QHeaderView* header = view.header();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (columnShown(view, logical))
            out.append(logical);
    }
    return out;
}

// One cell of a list view, or the header of its column (row -1). A cell of a column the
// operator does not see is announced as hidden, without its text or place.
class ListCellAccessible : public PartAccessible, public QAccessibleTableCellInterface {
public:
    ListCellAccessible(QTreeView* view, int row, int column)
        : PartAccessible(view), view_(view), row_(row), column_(column) {}

    bool isValid() const override {
        const QAbstractItemModel* model = view_ ? view_->model() : nullptr;
        return model && column_ < model->columnCount(view_->rootIndex()) &&
               row_ < model->rowCount(view_->rootIndex());
    }
    QAccessible::Role role() const override {
        return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    bool shown() const { return isValid() && columnShown(*view_, column_); }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.invisible = !shown() || !view_->isVisible() || (row_ < 0 && view_->header()->isHidden());
        if (row_ < 0 || s.invisible)
            return s;
        const QModelIndex i = index();
        s.offscreen = !view_->viewport()->rect().intersects(view_->visualRect(i));
        const QItemSelectionModel* selection = view_->selectionModel();
        s.selectable = view_->selectionMode() != QAbstractItemView::NoSelection;
        s.selected = selection && selection->isSelected(i);
        s.focusable = true;
        s.focused = view_->hasFocus() && view_->currentIndex() == i;
        return s;
    }

    QRect rect() const override {
        if (!shown())
            return {};
        if (row_ < 0) {
            const QHeaderView* header = view_->header();
            const QRect r(header->sectionViewportPosition(column_), 0, header->sectionSize(column_),
                          header->height());
            return {header->mapToGlobal(r.topLeft()), r.size()};
        }
        const QRect r = view_->visualRect(index());
        return {view_->viewport()->mapToGlobal(r.topLeft()), r.size()};
    }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !shown())
            return {};
        if (row_ < 0)
            return view_->model()->headerData(column_, Qt::Horizontal).toString();
        const QModelIndex i = index();
        const QString spoken = i.data(Qt::AccessibleTextRole).toString();
        return spoken.isEmpty() ? i.data(Qt::DisplayRole).toString() : spoken;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    // As a cell of the table of the columns shown.
    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override {
        return view_ ? static_cast<int>(shownColumns(*view_).indexOf(column_)) : -1;
    }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    int row() const { return row_; }
    int column() const { return column_; }

private:
    QModelIndex index() const { return view_->model()->index(row_, column_, view_->rootIndex()); }

    QPointer<QTreeView> view_;
    int row_;
    int column_;
};

// A list view (the module's are flat). Its children are numbered as the toolkit's own view
// numbers them in the focus and selection events it sends: the header row first, then a row
// after another, every column of the model in each, so that an event names the cell it is about.
// Cells of columns out of sight are there but announced as hidden; the table the list also
// offers has the shown columns only. A list kept out of sight as the page's working list (the
// slots written through it) offers no rows and no column headers (the descriptors' raw names).
class ListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListAccessible(QTreeView* view) : QAccessibleWidget(view, QAccessible::Tree) {}
    ~ListAccessible() override { forgetCells(); }

    QTreeView* view() const { return static_cast<QTreeView*>(widget()); }
    bool outOfSight() const { return !view()->isVisibleTo(view()->window()); }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (outOfSight())
            s.invisible = true;
        return s;
    }

    int childCount() const override {
        return outOfSight() ? 0 : (rows() + headerRows()) * modelColumns();
    }

    QAccessibleInterface* child(int index) const override {
        const int columns = modelColumns();
        if (index < 0 || index >= childCount() || columns == 0)
            return nullptr;
        return cell(index / columns - headerRows(), index % columns);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        for (auto it = cells_.cbegin(); it != cells_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) {
                const auto* c = static_cast<const ListCellAccessible*>(child);
                return (c->row() + headerRows()) * modelColumns() + c->column();
            }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        if (outOfSight())
            return nullptr;
        const QPoint onViewport = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex i = view()->indexAt(onViewport);
        if (i.isValid() && columnShown(*view(), i.column()))
            return cell(i.row(), i.column());
        const QHeaderView* header = view()->header();
        const QPoint onHeader = header->mapFromGlobal(QPoint(x, y));
        if (headerRows() && header->rect().contains(onHeader)) {
            const int column = header->logicalIndexAt(onHeader);
            if (column >= 0 && columnShown(*view(), column))
                return cell(-1, column);
        }
        return nullptr;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The table of the columns shown.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    int columnCount() const override {
        return outOfSight() ? 0 : static_cast<int>(shownColumns(*view()).size());
    }
    int rowCount() const override { return outOfSight() ? 0 : rows(); }
    QAccessibleInterface* cellAt(int row, int column) const override {
        const int logical = outOfSight() ? -1 : shownColumns(*view()).value(column, -1);
        return logical < 0 || row < 0 || row >= rows() ? nullptr : cell(row, logical);
    }
    QString columnDescription(int column) const override {
        const int logical = shownColumns(*view()).value(column, -1);
        return logical < 0 ? QString()
                           : view()->model()->headerData(logical, Qt::Horizontal).toString();
    }
    QString rowDescription(int) const override { return {}; }

    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> out;
        if (outOfSight() || !view()->selectionModel())
            return out;
        for (const QModelIndex& i : view()->selectionModel()->selectedIndexes())
            if (i.parent() == view()->rootIndex() && columnShown(*view(), i.column()))
                out.append(cell(i.row(), i.column()));
        return out;
    }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<int> selectedRows() const override {
        QList<int> out;
        for (int row = 0; row < rowCount(); ++row)
            if (isRowSelected(row))
                out.append(row);
        return out;
    }
    bool isRowSelected(int row) const override {
        const QItemSelectionModel* selection = view()->selectionModel();
        return selection && row >= 0 && row < rowCount() &&
               selection->isRowSelected(row, view()->rootIndex());
    }
    // Lists are chosen from by rows: no column is ever selected as a whole.
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectColumn(int) override { return false; }

    bool selectRow(int row) override { return changeRow(row, true); }
    bool unselectRow(int row) override { return changeRow(row, false); }

    void modelChange(QAccessibleTableModelChangeEvent*) override { forgetCells(); }

private:
    int modelColumns() const {
        return view()->model() ? view()->model()->columnCount(view()->rootIndex()) : 0;
    }
    int rows() const {
        return view()->model() ? view()->model()->rowCount(view()->rootIndex()) : 0;
    }
    int headerRows() const { return view()->header()->isHidden() ? 0 : 1; }

    QAccessibleInterface* cell(int row, int column) const {
        const quint64 key = (quint64(quint32(row + 1)) << 32) | quint32(column);
        if (const QAccessible::Id id = cells_.value(key))
            return QAccessible::accessibleInterface(id);
        auto* made = new ListCellAccessible(view(), row, column);
        cells_.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    // Rows and columns numbered anew: cells made for the old numbering are let go.
    void forgetCells() {
        for (QAccessible::Id id : std::as_const(cells_))
            QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

    bool changeRow(int row, bool select) {
        QItemSelectionModel* selection = view()->selectionModel();
        const auto mode = view()->selectionMode();
        if (!selection || mode == QAbstractItemView::NoSelection || row < 0 || row >= rowCount())
            return false;
        const QModelIndex first = view()->model()->index(row, 0, view()->rootIndex());
        if (!select) {
            selection->select(first, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
            return true;
        }
        const bool single = mode == QAbstractItemView::SingleSelection;
        selection->select(
            first, (single ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select) |
                       QItemSelectionModel::Rows);
        return true;
    }

    mutable QHash<quint64, QAccessible::Id> cells_;
};

QList<QAccessibleInterface*> ListCellAccessible::columnHeaderCells() const {
    if (!shown() || row_ < 0 || view_->header()->isHidden())
        return {};
    QAccessibleInterface* list = parent();
    if (!list)
        return {};
    return {list->child(column_)};
}

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QTabBar"))
        return new TabBarAccessible(static_cast<QTabBar*>(object));
    if (className == QLatin1String("QTreeView"))
        return new ListAccessible(static_cast<QTreeView*>(object));
    return nullptr;
}

} // namespace

void installAccessibility() {
    QAccessible::installFactory(factory);
}

} // namespace platform
