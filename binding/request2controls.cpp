#include "binding/request2controls.h"

#include "binding/module_caption.h"
#include "binding/status_output.h"
#include "platform/prompter.h"
#include "snmplib/messages.h"
#include "snmplib/qv_exception.h"

#include <exception>
#include <utility>

// For the length of one call into the request engine, failures it reports through the
// completion callback go through the binding's rule first; the page's callback is put back
// afterwards, also when the call raises.
class QvSNMPRequest2Controls::Route {
public:
    Route(QvSNMPRequest2Controls& r, bool set) : r_(r), saved_(std::move(r.onComplete)) {
        r_.onComplete = [this, set](const QvSNMPError& e) {
            failed = true;
            r_.routeFailure(e, set, saved_);
        };
    }
    ~Route() { r_.onComplete = std::move(saved_); }
    Route(const Route&) = delete;
    Route& operator=(const Route&) = delete;

    bool failed = false;

private:
    QvSNMPRequest2Controls& r_;
    CompletionCallback saved_;
};

namespace {

QvSNMPError successRecord() {
    QvSNMPError ok;
    ok.code = 0;
    ok.text = qv::codeText(0);
    return ok;
}

// Clears a flag when the scope ends, however it ends.
struct ClearOnExit {
    bool& flag;
    ~ClearOnExit() { flag = false; }
};

} // namespace

QvSNMPRequest2Controls::QvSNMPRequest2Controls(QWidget* ownerForm) : owner(ownerForm) {}

QvSNMPRequest2Controls::~QvSNMPRequest2Controls() = default;

bool QvSNMPRequest2Controls::Refresh() {
    return mode == synchronous ? refreshSync() : refreshAsync();
}

bool QvSNMPRequest2Controls::Apply(bool refreshAfter, bool collect, const QString& selection,
                                   const QStringList* values) {
    lastOperation = 1;
    refreshAfterSet = refreshAfter;
    BeforeSet();
    if (collect)
        CollectControls();
    return mode == synchronous ? applySync(selection, values) : applyAsync(selection, values);
}

void QvSNMPRequest2Controls::acceptRow() {
    if (AcceptRow(rowFilter)) {
        RowReceived();
        ++rowsReceived;
    }
}

void QvSNMPRequest2Controls::complete() {
    if (onComplete)
        onComplete(successRecord());
}

bool QvSNMPRequest2Controls::refreshSync() {
    bool ok = true;
    lastOperation = 0;
    {
        ClearOnExit clear{busy};
        BeforeGet();
        rowsReceived = 0;
        busy = true;
        if (!vars.isTable()) {
            {
                Route route(*this, false);
                GetStep(ok, true);
            }
            acceptRow(); // also after a failure: the controls show what the list holds
        } else {
            for (bool first = true;; first = false) {
                bool rowRead = false;
                {
                    Route route(*this, false);
                    rowRead = GetStep(ok, first);
                }
                if (!rowRead)
                    break;
                acceptRow();
            }
        }
        AfterGet();
    }
    if (ok)
        complete();
    return ok;
}

bool QvSNMPRequest2Controls::sendGet(bool first) {
    const int before = outstanding();
    Route route(*this, false);
    GetStepAsync([this](const QvSNMPError& e, QvSNMPVarList&) { onGetAnswer(e); }, first);
    return !route.failed && outstanding() > before;
}

bool QvSNMPRequest2Controls::refreshAsync() {
    lastOperation = 0;
    BeforeGet();
    rowsReceived = 0;
    busy = true;
    bool sent = false;
    try {
        sent = active && sendGet(true);
    } catch (...) {
        busy = false;
        throw;
    }
    if (!sent)
        busy = false; // an inactive request, or a send refused (and reported) at once
    return sent;
}

void QvSNMPRequest2Controls::finishGet() {
    {
        ClearOnExit clear{busy};
        AfterGet();
    }
    complete();
    handAnswer(false, successRecord());
}

void QvSNMPRequest2Controls::guardAnswer(bool set, const std::function<void()>& body) {
    // Answers arrive from the event loop: nothing may be raised through it. A page waits for its
    // answer callback to end a command, so a failure raised before the callback ran still reaches
    // it; one raised by the callback itself is only reported.
    answerHanded_ = false;
    QvSNMPError failure;
    try {
        body();
        return;
    } catch (const QvException& e) {
        failure.code = e.code() != 0 ? e.code() : -1;
        failure.text = e.text();
    } catch (const std::exception& e) {
        failure.code = -1;
        failure.text = QString::fromLocal8Bit(e.what());
    }
    busy = false;
    ReportException(failure.text);
    const CompleteEvent& handler = set ? OnSetComplete : OnGetComplete;
    if (answerHanded_ || !handler)
        return;
    answerHanded_ = true;
    try {
        handler(*this, failure);
    } catch (const QvException& e) {
        ReportException(e.text());
    } catch (const std::exception& e) {
        ReportException(QString::fromLocal8Bit(e.what()));
    }
}

void QvSNMPRequest2Controls::handAnswer(bool set, const QvSNMPError& record) {
    const CompleteEvent& handler = set ? OnSetComplete : OnGetComplete;
    answerHanded_ = true;
    if (handler)
        handler(*this, record);
}

void QvSNMPRequest2Controls::onGetAnswer(const QvSNMPError& answer) {
    guardAnswer(false, [&] {
        if (answer.code != 0) {
            busy = false;
            lastOperation = 0;
            routeAnswerFailure(answer, false);
            handAnswer(false, answer);
            return;
        }
        if (!vars.isTable() || answer.last) {
            if (!vars.isTable())
                acceptRow();
            finishGet();
            return;
        }
        acceptRow();
        if (!active) { // a page or closing form stopped the walk: it ends after this row
            finishGet();
            return;
        }
        if (!sendGet(false))
            busy = false;
    });
}

bool QvSNMPRequest2Controls::applySync(const QString& selection, const QStringList* values) {
    bool ok = true;
    {
        ClearOnExit clear{busy};
        busy = true;
        {
            Route route(*this, true);
            Set(ok, false, selection, values);
        }
        AfterSet();
    }
    if (ok)
        complete();
    if (vars.isTable() && refreshAfterSet)
        Refresh(); // shows what the device holds now, also after a failed set
    return ok;
}

bool QvSNMPRequest2Controls::applyAsync(const QString& selection, const QStringList* values) {
    busy = true;
    bool sent = false;
    try {
        if (active) {
            const int before = outstanding();
            Route route(*this, true);
            SetAsync([this](const QvSNMPError& e, QvSNMPVarList&) { onSetAnswer(e); }, false,
                     selection, values);
            sent = !route.failed && outstanding() > before;
        }
    } catch (...) {
        busy = false;
        throw;
    }
    if (!sent)
        busy = false;
    return sent;
}

void QvSNMPRequest2Controls::onSetAnswer(const QvSNMPError& answer) {
    guardAnswer(true, [&] {
        lastOperation = 1;
        if (answer.code != 0) {
            busy = false;
            routeAnswerFailure(answer, true);
            handAnswer(true, answer);
            return;
        }
        {
            ClearOnExit clear{busy};
            AfterSet();
        }
        complete();
        handAnswer(true, successRecord());
        if (vars.isTable() && refreshAfterSet)
            Refresh();
    });
}

void QvSNMPRequest2Controls::routeFailure(const QvSNMPError& error, bool set,
                                          const CompletionCallback& pageCallback) {
    if (!silentFailures && (statusOutput || !pageCallback))
        set ? ReportSetError(error) : ReportGetError(error);
    if (pageCallback)
        pageCallback(error);
}

void QvSNMPRequest2Controls::routeAnswerFailure(const QvSNMPError& error, bool set) {
    const CompleteEvent& pageHandler = set ? OnSetComplete : OnGetComplete;
    if (!silentFailures && (statusOutput || !pageHandler))
        set ? ReportSetError(error) : ReportGetError(error);
}

void QvSNMPRequest2Controls::ReportGetError(const QvSNMPError& error) {
    lastOperation = 0;
    showFailure(error.text);
}

void QvSNMPRequest2Controls::ReportSetError(const QvSNMPError& error) {
    lastOperation = 1;
    showFailure(error.text);
}

void QvSNMPRequest2Controls::showFailure(const QString& text) {
    if (statusOutput)
        ReportStatus(text);
    else
        platform::message(qv::ModuleCaption(), text);
}

void QvSNMPRequest2Controls::ReportStatus(const QString& text) {
    const QString line = qv::StatusLine(lastOperation, text, vars.Name);
    if (!qv::WriteStatus(statusOutput, line))
        platform::message(qv::ModuleCaption(), text);
}

void QvSNMPRequest2Controls::ReportException(const QString& text) {
    if (!silentFailures)
        showFailure(text);
}
