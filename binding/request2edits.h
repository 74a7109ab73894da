#pragma once
// The binding object pages use: a request (QvSNMPRequest2Controls) whose variables are bound to
// the page's controls (QvControlBinding). A page creates one per group of variables it reads or
// writes together, in its creation handler:
//
//   auto req = std::make_unique<QvSNMPRequest2Edits>(this);
//   req->vars.Assign(QvSNMPVarList(kLanTable, SVT_SV, 0));
//   req->mode = QvSNMPRequest2Controls::synchronous;
//   req->BindComboBox(0, CB_IPFrom);
//   req->BindFormat(1, "%s", Ed_IP);
//   req->SetStatusOutput(StatusBar);
//   req->Refresh();                                  // ... and later req->Apply(true, true);
//
// A table list attached to a list view shows one row per table row; selecting a row shows it in
// the bound controls. New_req2Edit numbers the rows itself and leaves out rows whose watched
// variable holds skipText.
#include "binding/control_binding.h"
#include "binding/request2controls.h"

#include <functional>
#include <QString>

class QvSNMPRequest2Edits : public QvSNMPRequest2Controls, public QvControlBinding {
public:
    explicit QvSNMPRequest2Edits(QWidget* owner);
    ~QvSNMPRequest2Edits() override;

    // Page hooks, called from the virtual steps.
    std::function<void()> OnBeforeGet;
    std::function<void()> OnBeforeSet;
    std::function<void()> OnAfterGet;
    std::function<void()> OnAfterSet;

    void BeforeGet() override;
    void BeforeSet() override;
    void RowReceived() override;
    void CollectControls() override;
    QWidget* UnchosenControl(const QString& selection) const override;
    void AfterGet() override;
    void AfterSet() override;

protected:
    void ReportHandlerFailure(const QString& text) override;
};

class New_req2Edit : public QvSNMPRequest2Edits {
public:
    using QvSNMPRequest2Edits::QvSNMPRequest2Edits;

    int rowNumber = 1; // pages set it back to 1 before each refresh
    QString skipText = QStringLiteral("0");
    int watchedIndex = 1;

    // With a list view: a row whose variable watchedIndex holds skipText is left out; the others
    // are numbered from rowNumber on.
    void RowReceived() override;
    // A row like AddRow, with rowNumber in place of its first value.
    virtual void AddNumberedRow();
};
