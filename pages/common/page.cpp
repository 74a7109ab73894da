#include "pages/common/page.h"

#include "app/main_window.h"
#include "binding/choice.h"
#include "pages/common/flags.h"
#include "pages/common/selection.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"

#include <algorithm>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QStatusBar>

namespace pages {

Page::Page(QWidget* owner) : QDialog(owner) {
    setModal(true);
}

// Requests go before the widgets they are bound to (members are destroyed before the QObject
// children), so no answer handler of theirs can reach a destroyed control.
Page::~Page() = default;

void Page::configure(QvSNMPRequest2Controls& request, const RequestOptions& options) {
    request.mode = options.asynchronous ? QvSNMPRequest2Controls::asynchronous
                                        : QvSNMPRequest2Controls::synchronous;
    if (options.status)
        request.SetStatusOutput(options.status);
    if (options.timeout > 0)
        request.timeout = options.timeout;
    request.silentFailures = options.silent;
    request.OnIdle = [this] {
        if (closeAsked_)
            retryCloseLater();
    };
}

bool Page::conditionHolds() const {
    return std::any_of(keepOpen_.begin(), keepOpen_.end(), [](const auto& c) { return c(); });
}

bool Page::exchangesOutstanding() const {
    return std::any_of(requests_.begin(), requests_.end(), [](const auto& r) { return r->busy; }) ||
           conditionHolds();
}

void Page::keepOpenWhile(std::function<bool()> condition) {
    keepOpen_.push_back(std::move(condition));
}

bool Page::FormCloseQuery() {
    return !exchangesOutstanding();
}

bool Page::guard(const std::function<void()>& body) {
    // A handler may be what the page waits for (its flags, its next command): a remembered close
    // is tried again when the outermost one has ended.
    ++handling_;
    struct Ends {
        Page& page;
        ~Ends() {
            if (--page.handling_ == 0 && page.closeAsked_)
                page.retryCloseLater();
        }
    } ends{*this};
    try {
        body();
        return true;
    } catch (const QvNoChoice& e) {
        // A write stopped before anything was sent: the operator chooses first.
        if (e.control())
            refuseUnchosen(e.control());
        else
            showStatus(statusOutput_, e.text());
        return false;
    } catch (const QvException& e) {
        showStatus(statusOutput_, e.text());
        return false;
    }
}

void Page::closeRefused() {
    closeAsked_ = !conditionHolds();
}

void Page::retryCloseLater() {
    if (retryQueued_)
        return;
    retryQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            retryQueued_ = false;
            // Still waiting for an answer or a handler: the next idle moment tries again.
            if (closeAsked_ && handling_ == 0 &&
                std::none_of(requests_.begin(), requests_.end(),
                             [](const auto& r) { return r->busy; }))
                reject();
        },
        Qt::QueuedConnection);
}

void Page::reject() {
    if (FormCloseQuery()) {
        closeAsked_ = false;
        QDialog::reject();
    } else {
        closeRefused();
    }
}

void Page::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        closeAsked_ = false;
        QDialog::closeEvent(event);
    } else {
        event->ignore();
        closeRefused();
    }
}

void waitForAnswer(const QvSNMPRequest2Controls& request) {
    while (request.busy)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

int flag(Flag which) {
    const TMainForm* form = app::mainForm();
    return form ? form->flag(QString::fromLatin1(which.name())) : 0;
}

QString flagText(Flag which) {
    const TMainForm* form = app::mainForm();
    return form ? form->flagText(QString::fromLatin1(which.name())) : QString();
}

Bind::Bind(int i, QWidget* c, QString f) : index(i), control(c), format(std::move(f)) {}

void bind(QvSNMPRequest2Edits& request, std::initializer_list<Bind> bindings) {
    for (const Bind& b : bindings) {
        if (auto* edit = qobject_cast<QLineEdit*>(b.control))
            request.BindFormat(b.index, b.format, edit);
        else
            request.BindControl(b.index, b.control);
    }
}

bool refuse(const QString& text, const QString& title, QWidget* focus) {
    platform::message(title, text);
    if (focus)
        focus->setFocus();
    return false;
}

bool refuseAndClear(const QString& text, const QString& title, QLineEdit* field) {
    field->clear();
    return refuse(text, title, field);
}

bool apply(QvSNMPRequest2Controls& request, ApplyOptions options) {
    return request.Apply(options.refreshAfter, options.collect);
}

Write::Write(QvSNMPRequest2Controls* r, bool runIt, ApplyOptions options)
    : run([r, options] { return apply(*r, options); }), when(runIt),
      request(options.collect ? r : nullptr) {}

Write::Write(std::function<bool()> step, bool runIt) : run(std::move(step)), when(runIt) {}

bool writeInOrder(std::initializer_list<Write> writes) {
    // A choice missing anywhere stops the sequence before its first write.
    for (const Write& write : writes) {
        if (write.when && write.request)
            if (QWidget* unchosen = write.request->UnchosenControl({}))
                return refuseUnchosen(unchosen);
    }
    for (const Write& write : writes) {
        if (write.when && !write.run())
            return false;
    }
    return true;
}

void waitForRestart(QWidget* owner, const std::function<void(TFM_Waiting&)>& prepare) {
    TFM_Waiting wait(owner);
    if (prepare)
        prepare(wait);
    wait.exec();
}

bool waitForRestartUnlessSaved(QWidget* owner, const std::function<void(TFM_Waiting&)>& prepare) {
    if (app::saveSupported())
        return false;
    waitForRestart(owner, prepare);
    return true;
}

void waitWithoutRestart(QWidget* owner, const Pause& pause,
                        const std::function<void(TFM_Waiting&)>& prepare) {
    waitForRestart(owner, [&](TFM_Waiting& wait) {
        wait.sendReboot = false;
        if (!pause.title.isEmpty())
            wait.Label2->setText(pause.title);
        wait.Label3->setText(pause.text);
        wait.secondsLeft = pause.seconds;
        if (prepare)
            prepare(wait);
    });
}

void showStatus(QWidget* output, const QString& text) {
    if (auto* bar = qobject_cast<QStatusBar*>(output))
        bar->showMessage(text);
    else if (auto* label = qobject_cast<QLabel*>(output))
        label->setText(text);
}

QLabel* addStatusPanel(QStatusBar* bar) {
    auto* panel = named(new QLabel(bar), "StatusPanel");
    bar->addWidget(panel, 1);
    return panel;
}

} // namespace pages
