#include "platform/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QTabBar>
#include <QToolButton>
#include <QTreeView>
#include <utility>

namespace platform {
namespace {

// ---- Tabs ------------------------------------------------------------------------------------

// One tab of a tab bar.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
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
    void setText(QAccessible::Text, const QString&) override {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(bar_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

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

// ---- Working lists ---------------------------------------------------------------------------

// A list view out of sight: itself, without rows or headers.
class WorkingListAccessible : public QAccessibleWidget {
public:
    explicit WorkingListAccessible(QWidget* list) : QAccessibleWidget(list, QAccessible::Table) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        return s;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

// Keeps what a list view is announced as in step with whether it can be seen: the toolkit keeps
// an interface once made (often while the page is still being built), so when the list comes
// into sight or goes out of it, the interface made for the other case is let go and the next
// query makes the right one.
class ListWatcher : public QObject {
public:
    explicit ListWatcher(QWidget* list) : QObject(list), list_(list) {
        list->installEventFilter(this);
        if (QWidget* window = list->window(); window != list)
            window->installEventFilter(this);
    }

    static ListWatcher* of(QWidget* list) {
        for (QObject* child : list->children())
            if (auto* watcher = dynamic_cast<ListWatcher*>(child))
                return watcher;
        return new ListWatcher(list);
    }

    static bool outOfSight(const QWidget* list) { return !list->isVisibleTo(list->window()); }

    QAccessibleInterface* standIn = nullptr; // made for the list out of sight
    bool tableMade = false;                  // the toolkit's table made for the list in sight

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool listEvent = watched == list_;
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            break;
        case QEvent::Hide:
            if (listEvent)
                break;
            return false;
        default:
            return false;
        }
        if (standIn && !outOfSight(list_)) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(standIn));
            standIn = nullptr;
        } else if (tableMade && outOfSight(list_)) {
            tableMade = false;
            QAccessible::deleteAccessibleInterface(
                QAccessible::uniqueId(QAccessible::queryAccessibleInterface(list_)));
        }
        return false;
    }

private:
    QWidget* list_;
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QTabBar"))
        return new TabBarAccessible(static_cast<QTabBar*>(object));
    if (className == QLatin1String("QTreeView")) {
        auto* list = static_cast<QWidget*>(object);
        ListWatcher* watcher = ListWatcher::of(list);
        if (ListWatcher::outOfSight(list)) {
            watcher->standIn = new WorkingListAccessible(list);
            return watcher->standIn;
        }
        watcher->tableMade = true; // the toolkit's factory answers next
    }
    return nullptr;
}

} // namespace

void installAccessibility() {
    QAccessible::installFactory(factory);
}

} // namespace platform
