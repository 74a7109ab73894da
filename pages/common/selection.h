#pragma once
// Drop-down lists bound to enumerated values show nothing when the device reports a value that is
// not one of their items. Such a list has no value to write: writing it would send whatever the
// empty text converts to (or fail on it), so a page checks its lists before a write and tells the
// operator which field needs a choice.
#include <initializer_list>
#include <QString>

class QComboBox;

namespace pages {

// The caption the operator sees for `combo`: the text of the label whose buddy it is (without a
// trailing ":"), else its accessible name, else its objectName.
QString captionOf(const QComboBox* combo);

// "Please select a value for Load Balance."
QString selectionMissing(const QString& caption);

// True when every list has a selection. Otherwise the first without one is refused: the message
// names its caption (title "Error") and the focus moves to it.
bool selectionsMade(std::initializer_list<QComboBox*> lists);

} // namespace pages
