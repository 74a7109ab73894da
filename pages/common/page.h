#pragma once
// What every page stands on. A page is its Designer form (the fixed controls, their names,
// buddies and layouts), a thin class on FormPage, its descriptor table and its test:
//
//   class TFM_LanCfg : public pages::FormPage<Ui::TFM_LanCfg> { ... };   // ui->ED_IpAddr
//
//   TFM_LanCfg::TFM_LanCfg(QWidget* owner) : FormPage(owner) {
//       handle(ui->BT_LanCfgOk, &QPushButton::clicked, &TFM_LanCfg::BT_LanCfgOkClick);
//       guard([this] {                                   // QvException -> status line
//           lan_ = addRequest(kLan, {.status = ui->StatusBar});
//           pages::bind(*lan_, {{kGetIpFrom, ui->CB_IPFrom}, {kIpAddress, ui->ED_IpAddr}});
//           lan_->Refresh();
//       });
//   }
//
//   void TFM_LanCfg::BT_LanCfgOkClick() {                // run guarded by handle()
//       if (!qv::isHostAddress(ui->ED_IpAddr->text()))   // checks in their fixed order:
//           return void(pages::refuseAndClear(msg::kBadIp, msg::kWarning, ui->ED_IpAddr));
//       if (pages::writeInOrder({{lan_}, {port_, portShown}}))  // stops at a failure
//           pages::waitForRestartUnlessSaved(this);      // without save-and-activate
//   }
//
// Closing: a page never closes while one of its requests is outstanding or while a condition it
// registered (a transfer, a survey) holds, whichever way the close comes (the Close button, the
// window's close box, Escape): answers that arrive later would reach freed objects. A close asked
// for while answers are still due is remembered and carried out once the page is idle (its
// answers handled, no handler of its running); one refused by a registered condition is not: the
// operator cancels the transfer or survey first.
#include "app/wait_dialog.h"
#include "binding/request2edits.h"
#include "pages/common/choices.h"
#include "pages/common/flags.h"
#include "snmplib/varlist.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <QDialog>
#include <QString>
#include <span>
#include <vector>

class QCloseEvent;
class QLabel;
class QLineEdit;
class QStatusBar;

namespace pages {

// How a binding object of the page runs.
struct RequestOptions {
    quint8 kind = SVT_SV;      // SVT_SV scalars; MVT_FMV / MVT_UMV tables
    int keyCount = 0;          // index arcs of a table row
    QWidget* status = nullptr; // where its failures are written (a status bar, panel or memo)
    bool asynchronous = false; // pages read and write synchronously unless they say so
    int timeout = 0;           // hundredths of a second; 0 keeps the request's default
    bool silent = false;       // failures are never shown (capability-style reads)
};

class Page : public QDialog {
    Q_OBJECT

public:
    explicit Page(QWidget* owner);
    ~Page() override;

    // A binding object owned by the page, its variable list copied from `table`.
    template <class Request = QvSNMPRequest2Edits>
    Request* addRequest(std::span<const QvSNMPVarDef> table, const RequestOptions& options = {}) {
        auto request = std::make_unique<Request>(this);
        request->vars.Assign(QvSNMPVarList(table, options.kind, options.keyCount));
        configure(*request, options);
        Request* raw = request.get();
        requests_.push_back(std::move(request));
        return raw;
    }

    // Whether any request of the page is busy or a registered condition holds.
    bool exchangesOutstanding() const;
    // A further reason to stay open (a transfer running, a survey under way).
    void keepOpenWhile(std::function<bool()> condition);
    // A close was asked for and waits for the page to become idle.
    bool closeAsked() const { return closeAsked_; }

    // Whether a close may go on. Pages with more to decide override it and call this one.
    virtual bool FormCloseQuery();

    // Runs `body`; a configuration fault it raises (QvException) goes to the page's status bar
    // instead of escaping into the event loop. True when the body ran through.
    bool guard(const std::function<void()>& body);

    // Connects `signal` of `sender` to a handler of the page, run guarded. The handler takes no
    // arguments (it reads the control itself). The click of a check box, radio button or radio
    // group runs it on every choice made there, however made (pages/common/choices.h).
    template <class Sender, class Signal, class Self>
    void handle(Sender* sender, Signal signal, void (Self::*handler)()) {
        const auto run = [this, handler] {
            guard([this, handler] { (static_cast<Self*>(this)->*handler)(); });
        };
        if (!detail::connectAsChoice(sender, signal, this, run))
            connect(sender, signal, this, run);
    }

    // Where guarded handlers report: the form's `StatusBar`, or a panel of it.
    QWidget* statusOutput() const { return statusOutput_; }
    void setStatusOutput(QWidget* output) { statusOutput_ = output; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void configure(QvSNMPRequest2Controls& request, const RequestOptions& options);
    bool conditionHolds() const;
    // A refused close: remembered unless a registered condition refused it.
    void closeRefused();
    // Tries a remembered close again from the event loop, once no handler of the page runs.
    void retryCloseLater();

    std::vector<std::unique_ptr<QvSNMPRequest2Controls>> requests_;
    std::vector<std::function<bool()>> keepOpen_;
    QWidget* statusOutput_ = nullptr;
    bool closeAsked_ = false;
    bool retryQueued_ = false;
    int handling_ = 0; // guarded handlers running (nested ones counted)
};

// A page whose fixed controls come from its Designer form `Form` (Ui::TFM_Xxx), reached as
// ui->Name by the page and its tests. A form's status bar named StatusBar becomes the page's.
template <class Form> class FormPage : public Page {
public:
    explicit FormPage(QWidget* owner) : Page(owner), ui(std::make_unique<Form>()) {
        ui->setupUi(this);
        if constexpr (requires(Form f) { f.StatusBar; })
            setStatusOutput(ui->StatusBar);
    }

    const std::unique_ptr<Form> ui;
};

// Turns the event loop until `request` has no exchange outstanding. Bounded: every exchange ends
// by its answer or its time-out. For a check that must see what an asynchronous read brings.
void waitForAnswer(const QvSNMPRequest2Controls& request);

// One control bound to a variable of a request: an edit with its format ("%s" unless given), or
// a combo box, check box, label or radio group as a whole.
struct Bind {
    Bind(int index, QWidget* control, QString format = QStringLiteral("%s"));
    int index;
    QWidget* control;
    QString format;
};
// Binds each control in turn: edits by their format, every other control whole.
void bind(QvSNMPRequest2Edits& request, std::initializer_list<Bind> bindings);

// A failed input check: the modal message (OK only) with its title, then the focus moves to
// `focus` when given. Returns false, so a check reads `if (bad) return refuse(...);`.
bool refuse(const QString& text, const QString& title, QWidget* focus = nullptr);
// The same for a field whose bad text is not kept: it is emptied first.
bool refuseAndClear(const QString& text, const QString& title, QLineEdit* field);

// How a request's Apply runs: the controls collected into the variables first, and a table list
// read again afterwards.
struct ApplyOptions {
    bool collect = true;
    bool refreshAfter = true;
};
bool apply(QvSNMPRequest2Controls& request, ApplyOptions options = {});

// One write of a sequence: a request's apply, or a page step of its own; `when` false leaves it
// out.
struct Write {
    Write(QvSNMPRequest2Controls* request, bool when = true, ApplyOptions options = {});
    Write(std::function<bool()> step, bool when = true);
    std::function<bool()> run;
    bool when = true;
    QvSNMPRequest2Controls* request = nullptr; // a request whose controls the write collects
};
// Runs the writes in order and stops at the first that fails (the later ones are not sent).
// A collected control without a choice refuses the whole sequence before anything is sent.
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

// The wait dialog as a plain count-down while the device works on something (no restart command
// is sent): `title` in Label2 when given, `text` in Label3. `prepare` may adjust it further.
struct Pause {
    QString title;
    QString text;
    int seconds = 25;
};
void waitWithoutRestart(QWidget* owner, const Pause& pause,
                        const std::function<void(TFM_Waiting&)>& prepare = {});

// `widget` with its objectName set: controls made at run time carry their names as objectName.
template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A status text: the message of a status bar, the text of a panel (a label).
void showStatus(QWidget* output, const QString& text);
// The one text panel of a status bar, stretched over its width ("StatusPanel").
QLabel* addStatusPanel(QStatusBar* bar);

} // namespace pages
