#include "binding/control_binding.h"

#include "binding/operator_choice.h"

#include "binding/control_values.h"
#include "binding/edit_constraint.h"
#include "binding/list_view_rows.h"
#include "binding/module_caption.h"
#include "binding/radio_group.h"
#include "platform/events.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"
#include "snmplib/value_format.h"
#include "snmplib/varlist.h"

#include "snmplib/error_codes.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTreeWidget>

using namespace qv::code;

namespace {

// The raw value of a variable text. A variable the last exchange did not reach has no value.
QByteArray rawOf(const QString& text, int syntax) {
    if (text == qv::kNotDoneValue)
        return {};
    return qv::TextToRaw(text, syntax);
}

} // namespace

QvControlBinding::QvControlBinding(QvSNMPVarList& vars, QWidget* owner)
    : constraints(std::make_unique<QvEditConstraint>(owner, true)), vars_(vars) {}

QvControlBinding::~QvControlBinding() = default;

bool QvControlBinding::IsWhole(const QvBindingRecord& r) const {
    return r.offset == 0 && r.syntax == vars_.item(r.index).syntax;
}

const QvOptionList* QvControlBinding::ListOf(const QvBindingRecord& r) const {
    if (r.optionList)
        return r.optionList;
    return IsWhole(r) ? vars_.item(r.index).optionList : nullptr;
}

int QvControlBinding::addRecord(QvBindingRecord record) {
    (void)vars_.item(record.index); // an index outside the list is refused before anything
    const QvOptionList* list = ListOf(record);
    qv::CheckBinding(record, list);
    QWidget* first = record.first();
    // Filling is no change the page has to hear of: the value is shown by the next refresh.
    if (auto combo = qobject_cast<QComboBox*>(first)) {
        const QSignalBlocker quiet(combo);
        list->FillItems(combo);
        combo->setCurrentIndex(-1);
    } else if (auto group = qobject_cast<QvRadioGroup*>(first)) {
        const QSignalBlocker quiet(group);
        list->FillItems(group);
    }
    bindings.push_back(std::move(record));
    return static_cast<int>(bindings.size()) - 1;
}

void QvControlBinding::BindFormat(int index, const QString& format,
                                  const QList<QLineEdit*>& edits) {
    const int count = QvEditConstraint::EditCount(format);
    if (count == 0) {
        constraints->Attach(format, {}); // a format without pieces raises the format error
        throw QvException(kTooFewControls);
    }
    if (edits.size() < count || edits.mid(0, count).contains(nullptr))
        throw QvException(kTooFewControls);
    const QList<QLineEdit*> taken = edits.mid(0, count);
    QvBindingRecord r;
    r.index = index;
    r.syntax = vars_.item(index).syntax;
    for (QLineEdit* e : taken)
        r.controls << e;
    qv::CheckBinding(r, ListOf(r));
    constraints->Attach(format, taken);
    addRecord(std::move(r));
}

void QvControlBinding::BindControl(int index, QWidget* control) {
    BindPartial(index, 0, vars_.item(index).syntax, nullptr, control);
}

void QvControlBinding::BindComboBox(int index, QComboBox* comboBox) {
    if (comboBox)
        comboBox->setEditable(false);
    BindControl(index, comboBox);
}

int QvControlBinding::BindPartial(int index, int offset, int syntax, const QvOptionList* list,
                                  QWidget* control, QWidget* second) {
    QvBindingRecord r;
    r.index = index;
    r.offset = offset;
    r.syntax = syntax;
    r.optionList = list;
    r.controls << control;
    if (second)
        r.controls << second;
    return addRecord(std::move(r));
}

void QvControlBinding::BindBits(int index, const QString& bitList, const QList<QCheckBox*>& boxes) {
    QvBindingRecord r;
    r.index = index;
    r.syntax = vars_.item(index).syntax;
    for (const QString& part : bitList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int bit = part.trimmed().toInt(&ok);
        if (!ok || bit < 0)
            throw QvException(kBadPartSyntax);
        r.bitIndices.push_back(bit);
    }
    if (r.bitIndices.empty() || boxes.size() < static_cast<qsizetype>(r.bitIndices.size()))
        throw QvException(kTooFewControls);
    for (qsizetype k = 0; k < static_cast<qsizetype>(r.bitIndices.size()); ++k)
        r.controls << boxes[k];
    addRecord(std::move(r));
}

void QvControlBinding::Unbind(int index) {
    std::erase_if(bindings, [&](const QvBindingRecord& r) {
        if (r.index != index)
            return false;
        for (const auto& c : r.controls) {
            if (auto edit = qobject_cast<QLineEdit*>(c.data()))
                constraints->Detach(edit);
        }
        return true;
    });
}

void QvControlBinding::AttachListView(QTreeWidget* lv, bool enable) {
    if (listView)
        QObject::disconnect(listView, nullptr, &context_, nullptr);
    listView = lv;
    enableOnSelect = enable;
    if (!lv)
        return;
    qv::PrepareListView(*lv);
    QObject::connect(lv, &QTreeWidget::itemSelectionChanged, &context_,
                     [this] { onSelectionChanged(); });
    MakeColumns();
}

void QvControlBinding::onSelectionChanged() {
    QTreeWidget* lv = listView.data();
    if (!lv)
        return;
    const QList<QTreeWidgetItem*> selected = lv->selectedItems();
    // An exception must not unwind through Qt's event delivery.
    try {
        SelectItem(lv, selected.value(0), !selected.isEmpty());
    } catch (const QvException& e) {
        ReportHandlerFailure(e.text());
    }
}

void QvControlBinding::SelectItem(QTreeWidget*, QTreeWidgetItem*, bool selected) {
    if (!selected)
        return;
    if (enableOnSelect)
        EnableControls(true);
    LoadSelectedRow();
    ShowVars(-1);
}

void QvControlBinding::ReportHandlerFailure(const QString& text) {
    platform::message(qv::ModuleCaption(), text);
}

void QvControlBinding::ShowVars(int index) {
    const QvShowingValues showing; // the device's values, not the operator's choices
    for (const QvBindingRecord& r : bindings) {
        if (index != -1 && r.index != index)
            continue;
        const QvSNMPVar& var = vars_.item(r.index);
        if (var.has(QvAccess::invalid))
            continue;
        QString text = var.optionList ? var.optionList->LabelToValue(var.value) : var.value;
        QByteArray raw;
        const QvOptionList* list = ListOf(r);
        if (!IsWhole(r)) {
            raw = qv::ExtractPartial(rawOf(text, var.syntax), r.offset, r.syntax);
            text = qv::RawToText(raw, r.syntax);
        } else if (qv::NeedsRaw(r)) {
            raw = rawOf(text, var.syntax);
        }
        if (list)
            text = list->ValueToLabel(text);
        qv::ShowInControls(r, text, raw, list);
    }
}

void QvControlBinding::CollectVars(int index) {
    for (int i = 0; i < vars_.count(); ++i) {
        if ((index != -1 && i != index) || !vars_.settable(i))
            continue;
        QvSNMPVar& var = vars_.item(i);
        QByteArray raw;
        bool haveRaw = false; // the variable's value is read only when a part is put into it
        bool bound = false;
        for (const QvBindingRecord& r : bindings) {
            if (r.index != i)
                continue;
            const bool whole = IsWhole(r) && !r.isBits();
            if (!bound && var.syntax == QvSyntax::displaystr) {
                haveRaw = true; // a display string is rebuilt from its bindings alone
            } else if (!haveRaw && !whole) {
                raw = rawOf(var.optionList ? var.optionList->LabelToValue(var.value) : var.value,
                            var.syntax);
                haveRaw = true;
            }
            qv::CollectFromControls(r, ListOf(r), whole, raw);
            haveRaw = true;
            bound = true;
        }
        if (!bound)
            continue;
        const QString text = qv::RawToText(raw, var.syntax);
        var.value = var.optionList ? var.optionList->ValueToLabel(text) : text;
    }
}

QWidget* QvControlBinding::FirstUnchosen(const QString& selection) const {
    const QStringList picked = selection.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QvBindingRecord& r : bindings) {
        if (!vars_.settable(r.index) ||
            (!picked.isEmpty() && !picked.contains(QString::number(r.index))))
            continue;
        if (qv::LacksChoice(r))
            return r.first();
    }
    return nullptr;
}

void QvControlBinding::EnableControls(bool enabled) {
    for (const QvBindingRecord& r : bindings) {
        for (const auto& c : r.controls) {
            if (c)
                c->setEnabled(enabled);
        }
    }
}

void QvControlBinding::MakeColumns() {
    if (listView)
        qv::MakeColumns(*listView, vars_);
}

void QvControlBinding::AddRow() {
    if (listView)
        qv::AddRow(*listView, vars_);
}

void QvControlBinding::LoadSelectedRow() {
    if (listView)
        qv::LoadSelectedRow(*listView, vars_);
}

void QvControlBinding::StepBeforeGet() {
    if (!listView)
        return;
    MakeColumns();
    listView->clear();
}

void QvControlBinding::StepRowReceived() {
    if (listView) {
        AddRow();
        platform::processPendingEvents();
    } else {
        ShowVars(-1);
    }
}

void QvControlBinding::StepCollectControls() {
    for (int i = 0; i < vars_.count(); ++i)
        vars_.item(i).value.clear();
    LoadSelectedRow();
    CollectVars(-1);
}

void QvControlBinding::StepAfterGet() {
    if (listView && enableOnSelect && vars_.ItemType == MVT_FMV)
        EnableControls(false);
}
