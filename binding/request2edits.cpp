#include "binding/request2edits.h"

#include "binding/list_view_rows.h"
#include "platform/events.h"

#include <QTreeWidget>

QvSNMPRequest2Edits::QvSNMPRequest2Edits(QWidget* ownerForm)
    : QvSNMPRequest2Controls(ownerForm), QvControlBinding(vars, ownerForm) {}

QvSNMPRequest2Edits::~QvSNMPRequest2Edits() = default;

void QvSNMPRequest2Edits::BeforeGet() {
    StepBeforeGet();
    if (OnBeforeGet)
        OnBeforeGet();
}

void QvSNMPRequest2Edits::BeforeSet() {
    if (OnBeforeSet)
        OnBeforeSet();
}

void QvSNMPRequest2Edits::RowReceived() {
    StepRowReceived();
}

void QvSNMPRequest2Edits::CollectControls() {
    StepCollectControls();
}

QWidget* QvSNMPRequest2Edits::UnchosenControl(const QString& selection) const {
    return FirstUnchosen(selection);
}

void QvSNMPRequest2Edits::AfterGet() {
    StepAfterGet();
    if (OnAfterGet)
        OnAfterGet();
}

void QvSNMPRequest2Edits::AfterSet() {
    if (OnAfterSet)
        OnAfterSet();
}

void QvSNMPRequest2Edits::ReportHandlerFailure(const QString& text) {
    ReportException(text);
}

void New_req2Edit::RowReceived() {
    if (!listView) {
        ShowVars(-1);
        return;
    }
    if (vars.item(watchedIndex).value == skipText)
        return;
    AddNumberedRow();
    ++rowNumber;
    platform::processPendingEvents();
}

void New_req2Edit::AddNumberedRow() {
    if (listView)
        qv::AddRow(*listView, vars, QString::number(rowNumber));
}
