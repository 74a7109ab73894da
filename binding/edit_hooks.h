#pragma once
// The handlers and typing limit of one edit: what a form's designer wires to an edit (a change
// handler, an exit handler, a maximum length), kept in one object that lives as a child of the
// edit. An edit constraint (QvEditConstraint) screens the operator's input through it and runs
// before the edit's own handlers; without a constraint the handlers run alone.
//
// Why not QLineEdit's own facilities:
// - QLineEdit::setMaxLength cuts any longer text, also a value the program shows; the typing
//   limit here refuses only what the operator types, so a device value is always shown whole.
// - QLineEdit has no "exit" signal; editingFinished also fires on Return and only for
//   acceptable input. The exit handler here runs when the focus has moved from the edit to
//   another control of its window (not when the window merely loses activation or a context
//   menu opens), after the focus change is complete.
//
// The object is the edit's QValidator and an event filter on it: do not give such an edit
// another validator, and use setMaxLength here instead of QLineEdit::setMaxLength.
#include <functional>
#include <QPointer>
#include <QString>
#include <QValidator>

class QLineEdit;
class QvEditConstraint;

class QvEditHooks final : public QValidator {
    Q_OBJECT
public:
    // A handler returns false to refuse: a change handler stops the constraint's jump to the
    // next field, an exit handler sends the edit's text back to the last accepted text.
    using Handler = std::function<bool(QLineEdit&)>;

    // The hooks of an edit, made on first use.
    static QvEditHooks& of(QLineEdit& edit);
    // The hooks of an edit, or nullptr when it has none yet.
    static QvEditHooks* find(const QLineEdit& edit);

    QLineEdit& edit() const;

    // Runs after each change the operator makes (typing, pasting, deleting), once the text is
    // screened; never for texts set by the program.
    void setChangeHandler(Handler handler) { change_ = std::move(handler); }
    // Runs when the operator has left the edit (after the constraint's check passed).
    void setExitHandler(Handler handler) { exit_ = std::move(handler); }
    // Longest text the operator can type; 0 = no limit. A longer text already in the edit stays;
    // the operator can then only shorten it.
    void setMaxLength(int characters) { maxLength_ = characters > 0 ? characters : 0; }
    int maxLength() const { return maxLength_; }

    // The edit's own handlers; true when there is none or it did not refuse.
    bool runChangeHandler();
    bool runExitHandler();

    // Moves the focus to the next control that takes the tab focus after `from`, looking only
    // inside `scope` (the window of `from` when null); returns it, or nullptr when there is none.
    static QWidget* focusNextField(QWidget& from, QWidget* scope = nullptr);

    // True while an exit is being handled: its message box and its giving the focus back must
    // not make other edits report an exit.
    static bool exitInProgress();

    QValidator::State validate(QString& input, int& cursor) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit QvEditHooks(QLineEdit& edit);
    friend class QvEditConstraint;
    void setConstraint(QvEditConstraint* constraint) { constraint_ = constraint; }
    QvEditConstraint* constraint() const { return constraint_.data(); }

    // What the screening of one change leaves to do once the change has landed (or was refused).
    struct Pending {
        bool active = false;
        bool beep = false;
        bool nextField = false;
    };
    void afterChange(bool landed);
    void exitLater();
    void runExit();

    QPointer<QvEditConstraint> constraint_;
    Handler change_;
    Handler exit_;
    int maxLength_ = 0;
    QString lastText_; // the text before the change being screened
    mutable Pending pending_;
};
