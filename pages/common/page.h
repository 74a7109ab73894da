#pragma once
// What every page shares.
//
//   class TFM_LanCfg : public pages::Page {
//       ...
//       lan_ = addRequest(tables::lan::kLan);            // owned, synchronous, status output set
//   };
//
//   void TFM_LanCfg::Bt_ApplyClick() {
//       if (Ed_IP->text().isEmpty())                      // checks in their fixed order:
//           return void(pages::refuse("Please input IP.", "Warning", Ed_IP)); // first failure
//           stops
//       const bool ok = pages::writeInOrder({{lan_}, {dhcp_, dhcpShown}}); // stops at a failure
//       if (ok)
//           pages::waitForRestartUnlessSaved(this);       // the wait dialog without
//           save-and-activate
//   }
//
// Closing: a page never closes while one of its requests is outstanding or while a condition it
// registered (a transfer, a survey) holds, whichever way the close comes (the Close button, the
// window's close box, Escape): answers that arrive later would reach freed objects.
#include "app/wait_dialog.h"
#include "binding/request2edits.h"
#include "snmplib/varlist.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <QDialog>
#include <QString>
#include <span>
#include <vector>

class QCloseEvent;
class QStatusBar;

namespace pages {

class Page : public QDialog {
    Q_OBJECT

public:
    explicit Page(QWidget* owner);
    ~Page() override;

    // A binding object owned by the page, its variable list copied from `table`. Synchronous
    // (pages switch the few asynchronous ones themselves); its failures go to `status` when given.
    template <class Request = QvSNMPRequest2Edits>
    Request* addRequest(std::span<const QvSNMPVarDef> table, quint8 kind = SVT_SV, int keyCount = 0,
                        QWidget* status = nullptr) {
        auto request = std::make_unique<Request>(this);
        request->vars.Assign(QvSNMPVarList(table, kind, keyCount));
        request->mode = 0;
        if (status)
            request->SetStatusOutput(status);
        Request* raw = request.get();
        requests_.push_back(std::move(request));
        return raw;
    }

    // Whether any request of the page is busy or a registered condition holds.
    bool exchangesOutstanding() const;
    // A further reason to stay open (a transfer running, a survey under way).
    void keepOpenWhile(std::function<bool()> condition);

    // Whether a close may go on. Pages with more to decide override it and call this one.
    virtual bool FormCloseQuery();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::vector<std::unique_ptr<QvSNMPRequest2Controls>> requests_;
    std::vector<std::function<bool()>> keepOpen_;
};

// Turns the event loop until `request` has no exchange outstanding. Bounded: every exchange ends
// by its answer or its time-out. For a check that must see what an asynchronous read brings.
void waitForAnswer(const QvSNMPRequest2Controls& request);

// A capability flag of the main window as a number (0 when there is no main window, or the text
// is not a number).
int flag(const char* name);
QString flagText(const char* name);

// A failed input check: the modal message (OK only) with its title, then the focus moves to
// `focus` when given. Returns false, so a check reads `if (bad) return refuse(...);`.
bool refuse(const QString& text, const QString& title, QWidget* focus = nullptr);

// One write of a sequence: a request's Apply(true, true), or a page step of its own; `when`
// false leaves it out.
struct Write {
    Write(QvSNMPRequest2Controls* request, bool when = true);
    Write(std::function<bool()> step, bool when = true);
    std::function<bool()> run;
    bool when = true;
};
// Runs the writes in order and stops at the first that fails (the later ones are not sent).
// True when every write that ran succeeded.
bool writeInOrder(std::initializer_list<Write> writes);

// After a successful apply on a device without save-and-activate, the change takes effect by a
// restart: the wait dialog counts it down (and sends the restart command). `prepare` may adjust
// the dialog before it shows (Label3, ticksBeforeReboot, sendReboot). With save-and-activate the
// operator saves later: nothing happens here. Returns whether the dialog ran.
bool waitForRestartUnlessSaved(QWidget* owner,
                               const std::function<void(TFM_Waiting&)>& prepare = {});
// The wait dialog whatever the save support (pages whose change always restarts the device).
void waitForRestart(QWidget* owner, const std::function<void(TFM_Waiting&)>& prepare = {});

// `widget` with its objectName set: controls carry their names as objectName.
template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The simple text of a page's status bar.
void showStatus(QStatusBar* bar, const QString& text);

} // namespace pages
