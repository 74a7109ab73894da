#include "binding/edit_hooks.h"

#include "binding/edit_constraint.h"
#include "platform/prompter.h"

#include <algorithm>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <utility>
#include <vector>

namespace {

// One exit is handled at a time. Its message box takes the focus away from the window and its
// giving the focus back to the edit takes it from another one; neither is an operator leaving
// an edit. Exits whose handling was due while one ran are handled after it.
bool exitRunning = false;
std::vector<QPointer<QvEditHooks>> exitsWaiting;

class ExitScope {
public:
    ExitScope() { exitRunning = true; }
    ~ExitScope() { exitRunning = false; }
    ExitScope(const ExitScope&) = delete;
    ExitScope& operator=(const ExitScope&) = delete;
};

// Where the operator's change sits: `before` became `after` by replacing `removed` characters
// at `start` with `inserted` ones. The cursor (just after the insertion) settles which of
// several equal characters was typed.
struct Splice {
    int start = 0;
    int inserted = 0;
};

Splice spliceOf(const QString& before, const QString& after, int cursor) {
    const int b = static_cast<int>(before.size());
    const int a = static_cast<int>(after.size());
    int suffix = 0;
    const int suffixCap = std::min({b, a, std::max(0, a - cursor)});
    while (suffix < suffixCap && before[b - 1 - suffix] == after[a - 1 - suffix])
        ++suffix;
    int prefix = 0;
    const int prefixCap = std::min(b, a) - suffix;
    while (prefix < prefixCap && before[prefix] == after[prefix])
        ++prefix;
    return {prefix, a - prefix - suffix};
}

bool isExitReason(Qt::FocusReason reason) {
    // Window activation, popups and the menu bar take the focus for a while; the operator has
    // not left the edit for another control.
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

} // namespace

QvEditHooks::QvEditHooks(QLineEdit& edit) : QValidator(&edit), lastText_(edit.text()) {
    edit.setValidator(this);
    edit.installEventFilter(this);
    connect(&edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { lastText_ = text; });
    connect(&edit, &QLineEdit::textEdited, this, [this] { afterChange(true); });
    connect(&edit, &QLineEdit::inputRejected, this, [this] { afterChange(false); });
}

QvEditHooks& QvEditHooks::of(QLineEdit& edit) {
    if (QvEditHooks* hooks = find(edit))
        return *hooks;
    return *new QvEditHooks(edit); // owned by the edit
}

QvEditHooks* QvEditHooks::find(const QLineEdit& edit) {
    return edit.findChild<QvEditHooks*>(QString(), Qt::FindDirectChildrenOnly);
}

QLineEdit& QvEditHooks::edit() const {
    return *static_cast<QLineEdit*>(parent());
}

bool QvEditHooks::runChangeHandler() {
    return !change_ || change_(edit());
}

bool QvEditHooks::runExitHandler() {
    return !exit_ || exit_(edit());
}

bool QvEditHooks::exitInProgress() {
    return exitRunning;
}

QWidget* QvEditHooks::focusNextField(QWidget& from, QWidget* scope) {
    QWidget* root = scope && scope->isAncestorOf(&from) ? scope : from.window();
    for (QWidget* w = from.nextInFocusChain(); w && w != &from; w = w->nextInFocusChain()) {
        if (!root->isAncestorOf(w) || w->focusProxy())
            continue;
        if (w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return w;
        }
    }
    return nullptr;
}

// Called by the edit for every change of its text. A text the program sets is taken as it is
// (QLineEdit clears its modified flag for setText); a change the operator made is screened:
// by the constraint first, then by the typing limit. Returning Invalid makes the edit drop the
// change without a signal of change.
QValidator::State QvEditHooks::validate(QString& input, int& cursor) const {
    QLineEdit& e = edit();
    if (!e.isModified() || input == lastText_)
        return Acceptable;
    const QString& before = lastText_;
    Pending pending;
    pending.active = true;
    if (constraint_) {
        const Splice typed = spliceOf(before, input, cursor);
        constraint_->screen(e, input, cursor, typed.start, typed.inserted, pending.beep,
                            pending.nextField);
    }
    // The limit counts what is left after the constraint: pasting "2a3b45" into "1" with a
    // limit of 4 digits gives "1234".
    const Splice kept = spliceOf(before, input, cursor);
    const int size = static_cast<int>(input.size());
    if (maxLength_ > 0 && size > maxLength_ && size > before.size()) {
        const int keep = std::max(0, maxLength_ - (size - kept.inserted));
        if (keep < kept.inserted) {
            input.remove(kept.start + keep, kept.inserted - keep);
            cursor = kept.start + keep;
            pending.beep = true;
        }
    }
    pending_ = pending;
    return input == before ? Invalid : Acceptable;
}

void QvEditHooks::afterChange(bool landed) {
    const Pending pending = std::exchange(pending_, Pending{});
    if (pending.beep)
        platform::beep();
    if (pending.nextField) {
        focusNextField(edit(), constraint_ ? constraint_->OwnerWindow() : nullptr);
        return;
    }
    if (!landed)
        return;
    if (constraint_)
        constraint_->changed(edit());
    else
        runChangeHandler();
}

bool QvEditHooks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::FocusOut && !exitRunning &&
        isExitReason(static_cast<QFocusEvent*>(event)->reason()))
        exitLater();
    return false;
}

// The exit is handled once the focus change is complete, outside the focus event: its message
// box must not open in the middle of the window system moving the focus.
void QvEditHooks::exitLater() {
    QMetaObject::invokeMethod(
        this, [this] { runExit(); }, Qt::QueuedConnection);
}

void QvEditHooks::runExit() {
    if (!edit().window()->isVisible())
        return; // the window has closed: nothing to correct any more
    if (exitRunning) {
        exitsWaiting.emplace_back(this);
        return;
    }
    {
        const ExitScope scope;
        if (constraint_)
            constraint_->exited(edit());
        else
            runExitHandler();
    }
    for (const QPointer<QvEditHooks>& waiting : std::exchange(exitsWaiting, {}))
        if (waiting)
            waiting->exitLater();
}
