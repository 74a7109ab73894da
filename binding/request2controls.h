#pragma once
// A request that belongs to a page: it reads its variables from the device (Refresh) and writes
// them back (Apply), synchronously (mode 0) or asynchronously (mode 1), calls virtual steps
// around each exchange for the controls half (QvSNMPRequest2Edits), and reports failures.
//
// When a failure is shown (decided in routeFailure / routeAnswerFailure):
//  1. silentFailures set (the main window's capability and save requests, whose failures only
//     mean "the device lacks this"): never shown; the page's callbacks still get the record.
//  2. statusOutput set: every failure of a get or set is written there, synchronous ones,
//     refused sends and asynchronous error answers alike; the page's callbacks run as well.
//  3. Otherwise a page callback that receives the failure owns it: the completion callback
//     `onComplete` for synchronous exchanges and refused sends, OnGetComplete / OnSetComplete
//     for asynchronous answers (a callback that does nothing silences failures on purpose).
//  4. Otherwise a message box with the module's file name as caption: no failed read and no
//     failed Apply of the operator is dropped silently.
//
// `busy` is true exactly while an exchange runs or is outstanding, and while an answer handed to
// a handler that runs later (OnGetCompleteLater / OnSetCompleteLater) waits for that handler;
// every path clears it again: success, failure, an exchange that could not be sent, an inactive
// request and an exception.
#include "snmplib/request.h"

#include <functional>
#include <memory>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <QWidget>

class QObject;

class QvSNMPRequest2Controls : public QvSNMPRequest {
public:
    // Called with the object and the answer's record when an asynchronous get or set ends.
    using CompleteEvent = std::function<void(QvSNMPRequest2Controls& sender, const QvSNMPError&)>;

    explicit QvSNMPRequest2Controls(QWidget* owner);
    ~QvSNMPRequest2Controls() override;

    CompleteEvent OnGetComplete;
    CompleteEvent OnSetComplete;
    using AnswerEvent = std::function<void(const QvSNMPError&)>;
    // OnGetComplete / OnSetComplete run from the event loop once the answer's delivery has ended
    // (so the handler may open modal dialogs). Until the handler has run the request stays busy:
    // whoever waits for an idle request waits for the handling too. The handler runs only while
    // `context` and this request live; `context` is the request's owner.
    void OnGetCompleteLater(QObject* context, AnswerEvent handler);
    void OnSetCompleteLater(QObject* context, AnswerEvent handler);
    // Called each time the request has become idle (busy cleared), from inside the request's own
    // handling: a receiver that acts on it defers the action to the event loop.
    std::function<void()> OnIdle;
    static constexpr quint8 synchronous = 0;
    static constexpr quint8 asynchronous = 1;
    quint8 mode = asynchronous;
    bool busy = false; // a get or set runs or is outstanding
    QPointer<QWidget> owner;
    int rowsReceived = 0; // rows accepted by the last get
    // A memo (QPlainTextEdit), a status bar (QStatusBar) or one of its panels (QLabel).
    QPointer<QWidget> statusOutput;
    int lastOperation = 0; // 0 get, 1 set: selects the status template
    bool refreshAfterSet = true;
    // Failures are never shown (rule 1 above).
    bool silentFailures = false;

    void SetStatusOutput(QWidget* output) { statusOutput = output; }

    // Reads the variables (a scalar list in one exchange, a table row by row) and shows them.
    // Synchronous: true when every exchange succeeded. Asynchronous: true when the first
    // exchange was sent; the outcome arrives through OnGetComplete.
    bool Refresh();
    // Collects the controls (collect) and writes the settable variables (selection: empty for
    // all, else indices joined by ","; values: their texts in selection order). A control to be
    // collected for a written variable that shows no choice raises QvNoChoice: nothing is sent. A
    // table list is refreshed afterwards when refreshAfter, whether or not the set succeeded.
    // Synchronous: true when the set succeeded; asynchronous: true when it was sent.
    bool Apply(bool refreshAfter, bool collect, const QString& selection = {},
               const QStringList* values = nullptr);

    // The failure text as a status line ("Get: [ERROR] Request:[VARLIST]. Receive at [TIME].")
    // into statusOutput; a message box when there is no usable output.
    void ReportStatus(const QString& text);

    // Virtual steps, in slot order.
    virtual void BeforeGet() {}
    virtual void BeforeSet() {}
    virtual void RowReceived() = 0;
    virtual void CollectControls() {}
    // The first control collected for a variable of `selection` that shows no choice.
    virtual QWidget* UnchosenControl(const QString& selection) const;
    virtual void ReportGetError(const QvSNMPError& error);
    virtual void ReportSetError(const QvSNMPError& error);
    virtual void AfterGet() {}
    virtual void AfterSet() {}

protected:
    // A failure in the controls half of an asynchronous answer or a selection handler: into
    // the status output, else a message box (unless silentFailures).
    void ReportException(const QString& text);

private:
    class Route;
    class ExchangeEnds;

    bool refreshSync();
    bool refreshAsync();
    bool applySync(const QString& selection, const QStringList* values);
    bool applyAsync(const QString& selection, const QStringList* values);
    void acceptRow();
    // Runs an answer's handling; a failure raised in it is reported, clears busy and, unless the
    // page's answer callback already ran, reaches that callback as the exchange's failure.
    void guardAnswer(bool set, const std::function<void()>& body);
    // The answer's handlers (OnGetComplete / OnSetComplete, and the later one) with the record,
    // noted as handed: an answer reaches them once.
    void handAnswer(bool set, const QvSNMPError& record);
    bool hasHandler(bool set) const;
    void onGetAnswer(const QvSNMPError& answer);
    void onSetAnswer(const QvSNMPError& answer);
    void finishGet();
    // Sends the next asynchronous get step; false when it could not be sent.
    bool sendGet(bool first);
    void routeFailure(const QvSNMPError& error, bool set, const CompletionCallback& pageCallback);
    void routeAnswerFailure(const QvSNMPError& error, bool set);
    void showFailure(const QString& text);
    void complete(); // the completion callback with the success record

    struct Later {
        QPointer<QObject> context;
        AnswerEvent handler;
    };
    // Queues the later handler of gets or sets with `record`; it owns one count of
    // answersToHandle_.
    void queueLater(bool set, const QvSNMPError& record);
    void setExchanging(bool on);
    void updateBusy();

    bool answerHanded_ = false; // the answer being handled has reached the page's callback
    bool exchanging_ = false;   // a get or set runs or is outstanding
    int answersToHandle_ = 0;   // answers whose later handler has not run yet
    Later laterGet_;
    Later laterSet_;
    // Reached by handlers queued on the event loop; cleared when the request goes.
    std::shared_ptr<QvSNMPRequest2Controls*> self_;
};
