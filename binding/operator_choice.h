#pragma once
// Choices made on check boxes and radio buttons, however they are made: a click (the mouse, the
// space bar, the press action of an assistive tool), the toggle action of an assistive tool, or a
// program that sets the state. A page's rule on such a control (its "click" handler) follows the
// choice, so the rule and the control never disagree about what was chosen.
//
// Showing values is no choice: while the binding puts the device's values into controls (ShowVars),
// or a page puts what it read into its own controls inside a QvShowingValues scope, the rules do
// not run; the page runs them itself where its steps say so.
#include <functional>

class QAbstractButton;
class QObject;

// While one lives, the program is showing values in controls: their changes are nobody's choice.
class QvShowingValues {
public:
    QvShowingValues();
    ~QvShowingValues();
    QvShowingValues(const QvShowingValues&) = delete;
    QvShowingValues& operator=(const QvShowingValues&) = delete;

    static bool active();
};

// Calls `chosen` (while `context` lives) once for each choice made on `button`:
// - a click, also one that leaves the state as it was (a radio button already selected);
// - a change of its checked state that no click made (a toggle action, setChecked), unless
//   values are being shown or the button cannot be seen (a page being opened sets its controls
//   and runs its rules in its own order).
// A radio button chooses when it turns on: the partner that turns off meanwhile makes no second
// choice. A change made while `chosen` runs for this button (a rule that puts the box back) is no
// further choice.
void QvOnChoice(QAbstractButton* button, QObject* context, std::function<void()> chosen);
