#include "panels/config_form.h"

#include "binding/request2edits.h"
#include "panels/snmp_panel.h"
#include "platform/timers.h"
#include "snmplib/error_codes.h"
#include "snmplib/qv_exception.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// The form's own "refresh" message, posted to itself at construction.
const QEvent::Type kRefreshMessage = static_cast<QEvent::Type>(QEvent::registerEventType());
// Beyond the exchange's own time-out: the answer's handling and the event pump's tick.
constexpr int kCloseMarginMs = 500;
// The form's own faults carry their text; the code says only "not an exchange result".
constexpr int kFormFault = qv::code::kUnknownError;

// Waits, processing events, while the request is busy, but no longer than its time-out and
// retries allow for the exchange under way.
void waitWhileBusy(const QvSNMPRequest2Edits& request) {
    if (!request.busy)
        return;
    const int bound = request.timeout * 10 * (request.retries + 1) + kCloseMarginMs;
    std::unique_ptr<QTimer> deadline(platform::makeTimer(nullptr, bound, true));
    bool expired = false;
    QObject::connect(deadline.get(), &QTimer::timeout, [&expired] { expired = true; });
    deadline->start();
    while (request.busy && !expired)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
} // namespace

TConfigForm::TConfigForm(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("ConfigForm"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QCoreApplication::postEvent(this, new QEvent(kRefreshMessage));
}

// The binding objects go before the controls they are bound to.
TConfigForm::~TConfigForm() {
    closing_ = true;
    releaseRequests();
}

TSNMPEditorPanel* TConfigForm::AddEditorPanel(std::unique_ptr<QvSNMPRequest2Edits> request) {
    if (type_ != NoType)
        throw QvException(kFormFault, QStringLiteral("Can not change Type of a Config Form!"));
    type_ = Editor;
    QvSNMPRequest2Edits& bound = *request;
    requests_.push_back(std::move(request));
    auto* panel = new TSNMPEditorPanel(this, bound);
    layout()->addWidget(panel);
    panel_ = panel;
    fitToPanel();
    return panel;
}

TSNMPEditorPanel* TConfigForm::editorPanel() const {
    return type_ == Editor ? static_cast<TSNMPEditorPanel*>(panel_) : nullptr;
}

void TConfigForm::fitToPanel() {
    if (!panel_)
        return;
    const QSize needed = panel_->neededSize();
    resize(std::min(std::max(width(), needed.width()), kMaxClientWidth),
           std::min(std::max(height(), needed.height()), kMaxClientHeight));
}

bool TConfigForm::event(QEvent* event) {
    if (event->type() != kRefreshMessage)
        return QDialog::event(event);
    if (!isVisible())
        refreshPending_ = true; // handled once the form is shown
    else
        refreshMessage();
    return true;
}

void TConfigForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (refreshPending_) {
        refreshPending_ = false;
        QCoreApplication::postEvent(this, new QEvent(kRefreshMessage));
    }
}

void TConfigForm::refreshMessage() {
    if (closing_)
        return;
    switch (type_) {
    case NoType:
        return;
    case Editor: {
        QvSNMPRequest2Edits& request = panel_->request();
        if (active_ && active_ != &request)
            active_->active = false;
        active_ = &request;
        request.active = true;
        try {
            request.Refresh();
        } catch (const QvException& e) {
            request.ReportStatus(e.text());
        }
        return;
    }
    default:
        throw QvException(kFormFault, QStringLiteral("Refresh a Form with unknown Form Type!"));
    }
}

bool TConfigForm::releaseRequests() {
    for (const auto& request : requests_)
        request->active = false;
    for (const auto& request : requests_)
        waitWhileBusy(*request);
    active_ = nullptr;
    requests_.clear();
    return true;
}

void TConfigForm::done(int result) {
    if (closing_)
        return; // a second close while the first one waits
    closing_ = true;
    releaseRequests();
    QDialog::done(result);
}

void TConfigForm::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->ignore(); // the first close is still waiting for an exchange
        return;
    }
    QDialog::closeEvent(event); // rejects, so every way out goes through done()
}
