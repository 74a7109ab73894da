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
// `busy` is true exactly while an exchange runs or is outstanding; every path clears it again:
// success, failure, an exchange that could not be sent, an inactive request and an exception.
#include "snmplib/request.h"

#include <functional>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <QWidget>

class QvSNMPRequest2Controls : public QvSNMPRequest {
public:
    // Called with the object and the answer's record when an asynchronous get or set ends.
    using CompleteEvent = std::function<void(QvSNMPRequest2Controls& sender, const QvSNMPError&)>;

    explicit QvSNMPRequest2Controls(QWidget* owner);
    ~QvSNMPRequest2Controls() override;

    CompleteEvent OnGetComplete;
    CompleteEvent OnSetComplete;
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
    // all, else indices joined by ","; values: their texts in selection order). A table list is
    // refreshed afterwards when refreshAfter, whether or not the set succeeded. Synchronous:
    // true when the set succeeded; asynchronous: true when it was sent.
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

    bool refreshSync();
    bool refreshAsync();
    bool applySync(const QString& selection, const QStringList* values);
    bool applyAsync(const QString& selection, const QStringList* values);
    void acceptRow();
    // Runs an answer's handling; a failure raised in it is reported, clears busy and, unless the
    // page's answer callback already ran, reaches that callback as the exchange's failure.
    void guardAnswer(bool set, const std::function<void()>& body);
    // OnGetComplete / OnSetComplete with the record, noted as handed.
    void handAnswer(bool set, const QvSNMPError& record);
    void onGetAnswer(const QvSNMPError& answer);
    void onSetAnswer(const QvSNMPError& answer);
    void finishGet();
    // Sends the next asynchronous get step; false when it could not be sent.
    bool sendGet(bool first);
    void routeFailure(const QvSNMPError& error, bool set, const CompletionCallback& pageCallback);
    void routeAnswerFailure(const QvSNMPError& error, bool set);
    void showFailure(const QString& text);
    void complete(); // the completion callback with the success record

    bool answerHanded_ = false; // the answer being handled has reached the page's callback
};
