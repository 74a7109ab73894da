#include "binding/request2controls.h"

#include "binding/choice.h"
#include "binding/module_caption.h"
#include "binding/status_output.h"
#include "platform/prompter.h"
#include "snmplib/messages.h"
#include "snmplib/qv_exception.h"

#include <exception>
#include <QMetaObject>
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

} // namespace

// Ends the exchange when the scope ends, however it ends.
class QvSNMPRequest2Controls::ExchangeEnds {
public:
    explicit ExchangeEnds(QvSNMPRequest2Controls& r) : r_(r) {}
    ~ExchangeEnds() { r_.setExchanging(false); }
    ExchangeEnds(const ExchangeEnds&) = delete;
    ExchangeEnds& operator=(const ExchangeEnds&) = delete;

private:
    QvSNMPRequest2Controls& r_;
};

QvSNMPRequest2Controls::QvSNMPRequest2Controls(QWidget* ownerForm)
    : owner(ownerForm), self_(std::make_shared<QvSNMPRequest2Controls*>(this)) {}

// Handlers still queued for this request find it gone.
QvSNMPRequest2Controls::~QvSNMPRequest2Controls() {
    *self_ = nullptr;
}

void QvSNMPRequest2Controls::OnGetCompleteLater(QObject* context, AnswerEvent handler) {
    laterGet_ = {context, std::move(handler)};
}

void QvSNMPRequest2Controls::OnSetCompleteLater(QObject* context, AnswerEvent handler) {
    laterSet_ = {context, std::move(handler)};
}

void QvSNMPRequest2Controls::queueLater(bool set, const QvSNMPError& record) {
    const Later& later = set ? laterSet_ : laterGet_;
    if (!later.context) { // its owner is going: nothing will run the handler
        --answersToHandle_;
        updateBusy();
        return;
    }
    QMetaObject::invokeMethod(
        later.context,
        [self = std::weak_ptr<QvSNMPRequest2Controls*>(self_), handler = later.handler, record] {
            // The count is given back however the handler ends, if the request is still there.
            struct Handled {
                std::weak_ptr<QvSNMPRequest2Controls*> self;
                ~Handled() {
                    const auto alive = self.lock();
                    if (alive && *alive) {
                        --(*alive)->answersToHandle_;
                        (*alive)->updateBusy();
                    }
                }
            } handled{self};
            const auto alive = self.lock();
            if (alive && *alive)
                handler(record);
        },
        Qt::QueuedConnection);
}

void QvSNMPRequest2Controls::setExchanging(bool on) {
    // An exchange that ends leaves the request busy while another one it sent still waits for its
    // answer (a second reading asked for before the first was answered).
    exchanging_ = on || awaitingAnswers() > 0;
    updateBusy();
}

void QvSNMPRequest2Controls::updateBusy() {
    const bool was = busy;
    busy = exchanging_ || answersToHandle_ > 0;
    if (was && !busy && OnIdle)
        OnIdle();
}

bool QvSNMPRequest2Controls::Refresh() {
    return mode == synchronous ? refreshSync() : refreshAsync();
}

bool QvSNMPRequest2Controls::Apply(bool refreshAfter, bool collect, const QString& selection,
                                   const QStringList* values) {
    lastOperation = 1;
    refreshAfterSet = refreshAfter;
    BeforeSet();
    if (collect) {
        if (QWidget* unchosen = UnchosenControl(selection))
            throw QvNoChoice(unchosen); // an option nobody chose is never sent
        CollectControls();
    }
    return mode == synchronous ? applySync(selection, values) : applyAsync(selection, values);
}

QWidget* QvSNMPRequest2Controls::UnchosenControl(const QString&) const {
    return nullptr;
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
        ExchangeEnds ends(*this);
        BeforeGet();
        rowsReceived = 0;
        setExchanging(true);
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
    setExchanging(true);
    bool sent = false;
    try {
        sent = active && sendGet(true);
    } catch (...) {
        setExchanging(false);
        throw;
    }
    if (!sent)
        setExchanging(false); // an inactive request, or a send refused (and reported) at once
    return sent;
}

void QvSNMPRequest2Controls::finishGet() {
    {
        ExchangeEnds ends(*this);
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
    // With a later handler the request stays busy from the answer's arrival until that handler
    // has run; an answer that is not handed on (a walk's next row) gives the count back.
    const bool later = (set ? laterSet_ : laterGet_).handler != nullptr;
    if (later)
        ++answersToHandle_;
    struct NotHanded {
        QvSNMPRequest2Controls& r;
        bool later;
        ~NotHanded() {
            if (later && !r.answerHanded_) {
                --r.answersToHandle_;
                r.updateBusy();
            }
        }
    } notHanded{*this, later};
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
    setExchanging(false);
    ReportException(failure.text);
    if (answerHanded_ || !hasHandler(set))
        return;
    try {
        handAnswer(set, failure);
    } catch (const QvException& e) {
        ReportException(e.text());
    } catch (const std::exception& e) {
        ReportException(QString::fromLocal8Bit(e.what()));
    }
}

bool QvSNMPRequest2Controls::hasHandler(bool set) const {
    return (set ? OnSetComplete : OnGetComplete) || (set ? laterSet_ : laterGet_).handler;
}

void QvSNMPRequest2Controls::handAnswer(bool set, const QvSNMPError& record) {
    if (answerHanded_)
        return; // one answer reaches the handlers once
    answerHanded_ = true;
    if ((set ? laterSet_ : laterGet_).handler)
        queueLater(set, record);
    if (const CompleteEvent& handler = set ? OnSetComplete : OnGetComplete)
        handler(*this, record);
}

void QvSNMPRequest2Controls::onGetAnswer(const QvSNMPError& answer) {
    guardAnswer(false, [&] {
        if (answer.code != 0) {
            setExchanging(false);
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
            setExchanging(false);
    });
}

bool QvSNMPRequest2Controls::applySync(const QString& selection, const QStringList* values) {
    bool ok = true;
    {
        ExchangeEnds ends(*this);
        setExchanging(true);
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
    setExchanging(true);
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
        setExchanging(false);
        throw;
    }
    if (!sent)
        setExchanging(false);
    return sent;
}

void QvSNMPRequest2Controls::onSetAnswer(const QvSNMPError& answer) {
    guardAnswer(true, [&] {
        lastOperation = 1;
        if (answer.code != 0) {
            setExchanging(false);
            routeAnswerFailure(answer, true);
            handAnswer(true, answer);
            return;
        }
        {
            ExchangeEnds ends(*this);
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
    if (!silentFailures && (statusOutput || !hasHandler(set)))
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
