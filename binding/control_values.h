#pragma once
// Moving one binding's value between its controls and the variable: what each kind of control
// shows for a value, and what it gives back.
//
// A single control shows the control text (labels in place of values when there is a list):
// a label its caption, an edit its text, a combo box or radio group the item of that label, a
// check box its state (true/false, a list's item above the first, or one bit per box). Several
// edits bound to one variable split the value by the binding's syntax:
//   bitstr, octetstr, opaque  one byte per edit, two hex digits ("0A")
//   macaddress                the first six bytes, two hex digits each (6 edits at least)
//   objectid                  one arc per edit, decimal
//   ipaddress, nsapaddr       one byte per edit, decimal (4 edits at least)
//   timeticks                 days, hours, minutes, seconds, hundredths (5 edits at least)
//   datetime                  year, month, day, hour, minutes, seconds, deci-seconds, the
//                             direction character '+' or '-', hours and minutes from UTC (10)
//   bcdatetime                year, month, day, hour, minutes, seconds, milliseconds (7)
//   any other syntax          the first edit alone
// Edits beyond the value (a shorter string, no value at all) are emptied, so that a refresh
// never leaves an earlier value on show that a later apply would send back.
//
// Failures raise QvException: -517 a check box without list on a non-boolean syntax, -519 a bit
// beyond a non-empty value, -520 a combo box, radio group or listed check box without a usable
// list, -521 a control of another kind, -522 too few controls.
#include "binding/binding_record.h"

#include <QByteArray>
#include <QString>

class QvOptionList;

namespace qv {

// The binding needs the raw value of its part to show it (bits, several edits).
bool NeedsRaw(const QvBindingRecord& record);

// Puts the value into the record's controls. `text` is the control text (after the list's
// ValueToLabel), `raw` the raw value of the part (used only when NeedsRaw), `list` the list in
// force for the binding (null for none).
void ShowInControls(const QvBindingRecord& record, const QString& text, const QByteArray& raw,
                    const QvOptionList* list);

// Reads the record's controls into `raw`, the variable's raw value being rebuilt. The piece the
// controls give is converted with the record's syntax (after the list's LabelToValue); a whole
// binding (offset 0, the variable's own syntax) replaces the value, a part is put back at its
// offset with the bytes around it kept, and bit check boxes set or clear only their own bits.
void CollectFromControls(const QvBindingRecord& record, const QvOptionList* list, bool whole,
                         QByteArray& raw);

// The record's control is a choice control that shows no choice (binding/choice.h): it has no
// value to write, and collecting it gives an empty text.
bool LacksChoice(const QvBindingRecord& record);

// Checks made when a binding is made, so that a page learns of a wrong binding at once rather
// than at its first refresh: the control kinds, the list a combo box, radio group or listed
// check box needs, and the edits a split form needs.
void CheckBinding(const QvBindingRecord& record, const QvOptionList* list);

} // namespace qv
