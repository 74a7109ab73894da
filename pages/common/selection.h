#pragma once
// Choice controls bound to enumerated values show no choice when the device reports a value that
// none of their options stands for (binding/choice.h). Such a control has no value to write:
// writing it would send an option nobody chose, so a page checks its choices before a write and
// tells the operator which field needs one.
#include <initializer_list>

class QWidget;

namespace pages {

// True when every control (drop-down list, radio group, check box) shows a choice. Otherwise the
// first without one is refused: "Please select a value for Load Balance." with its caption
// (qv::CaptionOf, title "Error"), and the focus moves to it.
bool selectionsMade(std::initializer_list<QWidget*> controls);

// The refusal itself, for `control`.
bool refuseUnchosen(QWidget* control);

} // namespace pages
