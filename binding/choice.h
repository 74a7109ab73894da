#pragma once
// Choice controls (drop-down lists, radio groups, check boxes bound to an option list) show no
// choice when the device reports a value that none of their options stands for: a drop-down or
// radio group selects nothing, a check box shows the third, "no change" state. Such a control has
// no value to write: writing it would send an option nobody chose. Until the operator chooses,
// collecting it is refused with the field's caption.
#include "snmplib/qv_exception.h"

#include <QPointer>
#include <QString>

class QCheckBox;
class QWidget;

namespace qv {

// False for a choice control that shows no choice; true for every other control.
bool HasChoice(const QWidget* control);

// Shows "no choice" in a check box; the operator's first click makes it a plain two-state box
// again (checked first), and so does any program change to checked or unchecked.
void ShowNoChoice(QCheckBox* box);

// The caption the operator sees for `control`: the text of the label whose buddy it is (without
// a trailing ":"), else a radio group's title, else its accessible name, else its objectName.
QString CaptionOf(const QWidget* control);

// "Please select a value for Load Balance."
QString SelectionMissing(const QString& caption);

} // namespace qv

// Raised when a choice control without a choice is collected for a write.
class QvNoChoice : public QvException {
public:
    explicit QvNoChoice(QWidget* control);
    QWidget* control() const { return control_; }

private:
    QPointer<QWidget> control_;
};
