#pragma once
// The controls half of a binding object: which controls show which variable of a list, moving
// the variables' texts into them (ShowVars) and back (CollectVars), and a list view showing one
// row per table row. It works on a variable list it does not own (the request's), so it runs
// without any SNMP exchange.
//
// Handlers of the page: a page connects its own slots to its combo boxes, radio groups, check
// boxes and list views as usual. Binding a control never disconnects, replaces or blocks them:
// Qt delivers a signal to every connected slot, so the page's own handler keeps running with
// the control as its sender, while the control is bound and after Unbind alike. A value shown
// by ShowVars is a change like any other for the control's own signals (a check box's toggled
// fires), but no choice of the operator's (binding/operator_choice.h: the page's click rules do not
// run for it); only filling a combo box or radio group with its items at bind time is silent. The
// page's slots on a list view's selection run before the binding's when they were connected before
// AttachListView (Qt calls slots in connection order).
#include "binding/binding_record.h"

#include <memory>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QvEditConstraint;
class QvOptionList;
class QvSNMPVarList;

class QvControlBinding {
public:
    // `owner` is the page: the owner window of the edit constraints.
    QvControlBinding(QvSNMPVarList& vars, QWidget* owner);
    virtual ~QvControlBinding();
    QvControlBinding(const QvControlBinding&) = delete;
    QvControlBinding& operator=(const QvControlBinding&) = delete;

    // Edits bound with a format: one edit per "%" followed by s, h, i, u, f or n, each
    // constrained by its piece of the format ("%u{n1x65535}"). Too few edits raise -522; a bad
    // format raises the format error of the constraints.
    void BindFormat(int index, const QString& format, const QList<QLineEdit*>& edits);
    template <class... More>
    void BindFormat(int index, const QString& format, QLineEdit* first, More*... more) {
        BindFormat(index, format, QList<QLineEdit*>{first, more...});
    }
    // A whole variable to one control: an edit, label, check box, combo box or radio group.
    void BindControl(int index, QWidget* control);
    // A drop-down list (no typing), bound like BindControl.
    void BindComboBox(int index, QComboBox* comboBox);
    // The general form: the part of the variable's raw value at `offset` read with `syntax`,
    // shown through `list` (none: the variable's own list when the binding is whole). A combo
    // box or radio group needs a list (-520) and gets its labels as items; a combo box on a
    // prefix list needs a second control for the rest of the value (-522). Returns the
    // position of the new record in `bindings`.
    int BindPartial(int index, int offset, int syntax, const QvOptionList* list, QWidget* control,
                    QWidget* second = nullptr);
    // Check boxes for bits of the variable: "0,1,7" binds box k to the k-th bit index.
    void BindBits(int index, const QString& bitList, const QList<QCheckBox*>& boxes);
    template <class... More>
    void BindBits(int index, const QString& bitList, QCheckBox* first, More*... more) {
        BindBits(index, bitList, QList<QCheckBox*>{first, more...});
    }
    // Every binding of the variable is removed; its edits lose their constraint.
    void Unbind(int index);
    // Rows of the list appear in the list view; selecting a row shows it in the bound controls.
    // With enableOnSelect, the bound controls of a kind-2 list stay disabled after each refresh
    // until a row is selected.
    void AttachListView(QTreeWidget* listView, bool enableOnSelect);

    // The variable's texts into its bound controls (-1: every variable); invalid variables are
    // left alone.
    void ShowVars(int index = -1);
    // The bound controls into the texts of the variable (-1: every variable) when it is
    // settable. A variable without bindings keeps its text.
    void CollectVars(int index = -1);
    // The first bound control that shows no choice (binding/choice.h) of a settable variable
    // among `selection` (indices joined by ","; empty for every variable), else nullptr.
    QWidget* FirstUnchosen(const QString& selection = {}) const;
    void EnableControls(bool enabled);

    void MakeColumns();
    void AddRow();
    void LoadSelectedRow();

    // The list-view handler installed by AttachListView: when a row is selected, the controls
    // are enabled (enableOnSelect), the row is loaded into the variables and shown.
    virtual void SelectItem(QTreeWidget* sender, QTreeWidgetItem* item, bool selected);

    QPointer<QTreeWidget> listView;
    std::vector<QvBindingRecord> bindings;
    std::unique_ptr<QvEditConstraint> constraints;
    bool enableOnSelect = true;

protected:
    // Bodies of the virtual steps of a binding object:
    // before a get, the list view gets its columns and loses its rows;
    void StepBeforeGet();
    // a row received goes into the list view (which grows visibly during a walk) or, without
    // one, into the controls;
    void StepRowReceived();
    // before a set, every variable's text is emptied, the selected row (if any) loaded and the
    // controls collected, so a variable no binding or column covers is sent empty;
    void StepCollectControls();
    // after a get of a kind-2 list with a list view and enableOnSelect, the controls are
    // disabled until a row is selected.
    void StepAfterGet();

    // A failure raised inside a handler of the binding (a row selected in the list view) cannot
    // travel to the page; it is reported here. Default: a message box.
    virtual void ReportHandlerFailure(const QString& text);

    // The list in force for a record: its own, else the variable's when the record is whole.
    const QvOptionList* ListOf(const QvBindingRecord& record) const;
    bool IsWhole(const QvBindingRecord& record) const;

    QvSNMPVarList& vars_;

private:
    int addRecord(QvBindingRecord record);
    void onSelectionChanged();

    QObject context_; // receiver of the connections this object makes
};
