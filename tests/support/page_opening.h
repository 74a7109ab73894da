#pragma once
// Opening pages as the operator does, for the tests and benchmarks that open every page: the
// main window held still, the items its menus show, a page on the screen with the device's
// values, and closing it once it lets the operator.
//
// Header-only on the module's libraries (no test framework), so that benchmarks use it too. The
// caller says how to wait (`Turn`): tests sleep between turns of the event loop, benchmarks
// that time a page spin.
#include "app/main_window.h"
#include "pages/common/page.h"
#include "snmplib/exchange.h"

#include <functional>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>

namespace test {

// Turns the event loop until `done` holds; false when `ms` have passed first.
using Turn = std::function<bool(const std::function<bool()>& done, int ms)>;

// The main window's poll, blink and capability refresh held, and nothing outstanding: every
// exchange from now on is a page's, and the flags keep the values the menus and pages read.
inline bool holdMainWindow(TMainForm& form, const Turn& turn) {
    const auto stop = [&] {
        for (const char* name : {"LedStatus", "LedBlink", "Timer1"})
            if (QTimer* t = form.findChild<QTimer*>(QString::fromLatin1(name)))
                t->stop();
    };
    stop();
    const bool quiet = turn(
        [&] { return qv::pendingExchanges() == 0 && !form.capabilityRefreshPending(); }, 20000);
    stop(); // an answer that came meanwhile started the poll's timer again
    return quiet;
}

// Nothing of the page under way: no exchange outstanding (with the main window held, every
// exchange is the page's) and, for a page on the kit, no request busy and no condition that
// keeps it open.
inline bool pageIdle(const QDialog& page) {
    const auto* kitPage = qobject_cast<const pages::Page*>(&page);
    return qv::pendingExchanges() == 0 && !(kitPage && kitPage->exchangesOutstanding());
}

// The page on the screen showing the device's values: exposed, its opening's exchanges ended
// and their answers handled (events posted by the last answer included), then painted.
inline bool showsDeviceValues(QDialog& page, const Turn& turn, int ms = 30000) {
    const bool idle = turn(
        [&] {
            if (!page.windowHandle() || !page.windowHandle()->isExposed() || !pageIdle(page))
                return false;
            QCoreApplication::processEvents(); // answers handled after their delivery
            return pageIdle(page);
        },
        ms);
    if (idle)
        page.repaint(); // the last answers' texts painted
    return idle;
}

// Closes the page as the operator does, asking again until the page lets him (it refuses while
// an exchange or a transfer of its own runs); false when it is still open after `ms`.
inline bool closeAsOperator(QDialog& page, const Turn& turn, int ms = 30000) {
    return turn(
        [&] {
            page.reject();
            return !page.isVisible();
        },
        ms);
}

// Every item the menus show, in menu order: each menu opened as the operator opens it, so that
// its rules (aboutToShow) decide what it shows from the device's flags at that moment; the items
// of a submenu follow once it is shown, and the submenu itself is not an item.
inline QList<QAction*> shownMenuItems(TMainForm& form) {
    QList<QAction*> items;
    const std::function<void(QMenu&)> walk = [&](QMenu& menu) {
        menu.popup(form.mapToGlobal(QPoint(0, 0)));
        menu.hide();
        for (QAction* action : menu.actions()) {
            if (!action->isVisible() || !action->isEnabled() || action->isSeparator())
                continue;
            if (QMenu* sub = action->menu())
                walk(*sub);
            else
                items << action;
        }
    };
    for (QAction* action : form.menuBar()->actions())
        if (action->isVisible() && action->menu())
            walk(*action->menu());
    return items;
}

// What choosing a menu item came to.
struct Chosen {
    bool opened = false; // a window opened
    bool closed = false; // and closed when the operator asked it to
};

// Chooses a menu item, as the operator does: the window it opens runs modally (QDialog::exec),
// `whileOpen` is called with it once it is on the screen, and it is then closed as the operator
// closes it (a window that will not close is hidden, which ends its modal loop all the same).
inline Chosen chooseMenuItem(QAction& item, const Turn& turn,
                             const std::function<void(QDialog&)>& whileOpen) {
    QWidget* const before = QApplication::activeModalWidget();
    Chosen chosen;
    QTimer watch; // looks for the window from inside its modal loop
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        // Not from inside an answer's handler that lets events run (a walk adding its rows):
        // every other answer would wait for the checks to end, the page's own included.
        if (qv::handlingAnswer())
            return;
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == before || !dialog->isVisible())
            return;
        watch.stop();
        chosen.opened = true;
        whileOpen(*dialog);
        chosen.closed = closeAsOperator(*dialog, turn);
        if (!chosen.closed)
            dialog->hide();
    });
    watch.start();
    item.trigger(); // returns when the window has closed
    return chosen;
}

} // namespace test
