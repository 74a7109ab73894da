#include "pages/common/page.h"

#include "app/main_window.h"
#include "platform/prompter.h"

#include <algorithm>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QStatusBar>

namespace pages {

Page::Page(QWidget* owner) : QDialog(owner) {
    setModal(true);
}

// Requests go before the widgets they are bound to (members are destroyed before the QObject
// children), so no answer handler of theirs can reach a destroyed control.
Page::~Page() = default;

bool Page::exchangesOutstanding() const {
    return std::any_of(requests_.begin(), requests_.end(), [](const auto& r) { return r->busy; }) ||
           std::any_of(keepOpen_.begin(), keepOpen_.end(), [](const auto& c) { return c(); });
}

void Page::keepOpenWhile(std::function<bool()> condition) {
    keepOpen_.push_back(std::move(condition));
}

bool Page::FormCloseQuery() {
    return !exchangesOutstanding();
}

void Page::reject() {
    if (FormCloseQuery())
        QDialog::reject();
}

void Page::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void waitForAnswer(const QvSNMPRequest2Controls& request) {
    while (request.busy)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

int flag(const char* name) {
    const TMainForm* form = app::mainForm();
    return form ? form->flag(QString::fromLatin1(name)) : 0;
}

QString flagText(const char* name) {
    const TMainForm* form = app::mainForm();
    return form ? form->flagText(QString::fromLatin1(name)) : QString();
}

bool refuse(const QString& text, const QString& title, QWidget* focus) {
    platform::message(title, text);
    if (focus)
        focus->setFocus();
    return false;
}

Write::Write(QvSNMPRequest2Controls* request, bool runIt)
    : run([request] { return request->Apply(true, true); }), when(runIt) {}

Write::Write(std::function<bool()> step, bool runIt) : run(std::move(step)), when(runIt) {}

bool writeInOrder(std::initializer_list<Write> writes) {
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

void showStatus(QStatusBar* bar, const QString& text) {
    if (bar)
        bar->showMessage(text);
}

} // namespace pages
