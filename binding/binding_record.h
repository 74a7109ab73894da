#pragma once
// One binding of a variable (or a part of it) to controls, and the kinds of control a binding
// can drive.
#include <QList>
#include <QPointer>
#include <QWidget>
#include <vector>

class QvOptionList;

// What a control is to the binding layer. Labels stand for every static text.
enum class QvControlKind {
    Other,
    Label,      // QLabel
    Edit,       // QLineEdit
    CheckBox,   // QCheckBox
    ComboBox,   // QComboBox
    RadioGroup, // QvRadioGroup
};

QvControlKind ControlKindOf(const QWidget* control);

struct QvBindingRecord {
    int index = 0;  // variable index
    int offset = 0; // byte offset of the part in the variable's raw value
    int syntax = 0; // syntax the part is read with
    // The binding's own list; null means the variable's list when the binding is whole.
    const QvOptionList* optionList = nullptr;
    // One bit index per check box, for bit bindings only.
    std::vector<int> bitIndices;
    // In the order in which they take the value's pieces. A control the page has deleted reads
    // as null and is left alone.
    QList<QPointer<QWidget>> controls;

    bool isBits() const { return !bitIndices.empty(); }
    QWidget* first() const { return controls.isEmpty() ? nullptr : controls.first().data(); }
};
