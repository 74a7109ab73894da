#pragma once
// A window assembled at run time from generic panels: today one editor panel listing every
// variable of a binding object ("Home \ Information").
//
//   auto form = std::make_unique<TConfigForm>(mainWindow);
//   auto request = std::make_unique<QvSNMPRequest2Edits>(form.get());
//   request->vars.Assign(QvSNMPVarList(table, SVT_SV, 0));
//   TSNMPEditorPanel* panel = form->AddEditorPanel(std::move(request));
//   panel->SetValueWidth(180);
//   form->exec();
//
// The form reads its panel's variables once it is shown. Closing stops the form's binding
// objects and waits (processing events) for an exchange still under way, at most as long as
// that request's time-out and retries allow, then releases them: a silent device never holds
// the form open for longer.
#include <memory>
#include <QDialog>
#include <vector>

class QvSNMPRequest2Edits;
class TSNMPEditorPanel;
class TSNMPPanel;

class TConfigForm : public QDialog {
    Q_OBJECT
public:
    enum FormType { NoType = 0, Editor = 1 };
    static constexpr int kMaxClientWidth = 800;
    static constexpr int kMaxClientHeight = 550;

    explicit TConfigForm(QWidget* owner);
    ~TConfigForm() override;

    int formType() const { return type_; }
    // Takes the binding object; allowed once, while the form has no type.
    TSNMPEditorPanel* AddEditorPanel(std::unique_ptr<QvSNMPRequest2Edits> request);
    TSNMPEditorPanel* editorPanel() const;
    // The binding object the form last refreshed (null before).
    QvSNMPRequest2Edits* activeRequest() const { return active_; }
    // Whether the binding objects have been stopped and released (the form has closed).
    bool released() const { return requests_.empty() && type_ != NoType; }

    // Grows the client area to the panel's needs, within 800 x 550.
    void fitToPanel();

public slots:
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void refreshMessage();
    // Stops, waits for and releases every binding object. True when the form may close.
    bool releaseRequests();

    int type_ = NoType;
    std::vector<std::unique_ptr<QvSNMPRequest2Edits>> requests_;
    QvSNMPRequest2Edits* active_ = nullptr;
    TSNMPPanel* panel_ = nullptr;
    bool refreshPending_ = false;
    bool closing_ = false;
};
