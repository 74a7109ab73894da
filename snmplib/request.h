#pragma once
// The request engine: the one object through which the module talks SNMP. A request owns a copy
// of the session parameters and a variable list and runs get steps (a whole scalar list, or one
// table row per step) and sets, synchronously or asynchronously.
//
// Exchange failures are never raised: they become a QvSNMPError record. Configuration faults
// raise QvException: -509 bad address, -510 next step on a scalar list, -511 bad syntax, -512
// and -513 expression faults, -514 bad key count, -515 bad list kind.
#include "snmplib/session.h"
#include "snmplib/varlist.h"

#include <functional>
#include <memory>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <set>
#include <vector>

namespace qv {
struct ExchangeResult;
struct Target;
struct VarBind;
} // namespace qv

struct QvSNMPError {
    int code = 0;       // library code; 0 for success
    int errorIndex = 0; // of the answer PDU
    QString text;       // message text of `code`
    QString peerAddress;
    int peerPort = 0;
    // Asynchronous answers: true when no further answer of this exchange follows (an error, a
    // scalar answer, the end of a table); false when a row was read and the walk may go on.
    bool last = true;
    quint64 errorCount = 0; // the request's count after this failure
};

class QvSNMPRequest {
public:
    using CompletionCallback = std::function<void(const QvSNMPError&)>;
    // Called from the event loop with the record and the list; may start the next step.
    using AnswerHandler = std::function<void(const QvSNMPError&, QvSNMPVarList&)>;

    // Copies the global session parameters and default time-out as they are now.
    QvSNMPRequest();
    // Clears `active`, then waits (processing events) until no asynchronous exchange is
    // outstanding or 6 seconds have passed. Answers that come during the wait, or after it, are
    // dropped without calling their handlers.
    virtual ~QvSNMPRequest();
    QvSNMPRequest(const QvSNMPRequest&) = delete;
    QvSNMPRequest& operator=(const QvSNMPRequest&) = delete;

    CompletionCallback onComplete; // every reported failure; none by default
    bool useGetNext = false;       // MVT_SV lists: GET-NEXT instead of GET
    int timeout;                   // per try, hundredths of a second
    int retries = 1;
    QvSNMPDevice device;
    QvSNMPScope scope;
    QvSNMPSecurity security;
    QvSNMPVarList vars;
    QString rowFilter;  // logical expression a row must satisfy (AcceptRow); empty accepts all
    bool active = true; // false: every operation does nothing (synchronous ones report not-ok)

    int outstanding() const { return outstanding_; }
    // Asynchronous exchanges sent whose answers have not arrived yet (an answer being handled is
    // no longer among them).
    int awaitingAnswers() const { return static_cast<int>(pending_.size()); }
    quint64 errorCount() const { return errorCount_; }

    // Synchronous get step. first: start a walk (or read a scalar list); otherwise continue from
    // the walk positions. ok becomes false on any failure and is never set true. Returns true
    // only for table lists when a row was read.
    bool GetStep(bool& ok, bool first);
    // Asynchronous get step: returns at once; the handler gets the answer from the event loop.
    // A send that cannot be made is reported at once and the handler is not called.
    void GetStepAsync(AnswerHandler handler, bool first);
    // Synchronous SET of the settable variables. selection: empty for every settable variable,
    // else decimal indices joined by "," (only those are sent; `values`, when given, are their
    // texts in selection order). The list is restored afterwards, flags and values alike.
    // readBack stores the answer's values as a get would; the return value is then that of
    // GetStep, else false.
    bool Set(bool& ok, bool readBack, const QString& selection = {},
             const QStringList* values = nullptr);
    void SetAsync(AnswerHandler handler, bool readBack, const QString& selection = {},
                  const QStringList* values = nullptr);

    // Expression support: each marker followed by a decimal number n becomes variable n's value
    // as a number ("1"/"0" for booleans, hundredths for timeticks, days for bcdatetime); other
    // syntaxes in double quotes when `quote`, else -513. "(NULL)" raises -512.
    virtual QString Substitute(const QString& expression, bool quote, const QString& marker);
    // Row instances: key k decoded from the front of the instance (the rest returned), and its
    // coding.
    virtual QString DecodeKey(int k, const QString& instance);
    virtual QString EncodeKey(int k);
    // Variable i's value text from a received binding / into an outgoing one.
    virtual void StoreAnswer(int i, const qv::VarBind& binding);
    virtual void LoadBinding(int i, qv::VarBind& binding);
    // Variable i's get expression (afterGet) or set expression, when it has one, evaluated and
    // stored as its value.
    virtual void ApplyExpression(int i, bool afterGet);
    // True for an empty filter; else the filter with "$n" substituted (quoted), evaluated.
    virtual bool AcceptRow(const QString& filter);
    // Table lists: the received OID no longer continues the column, repeats the previous walk
    // position, or is not greater than it (an agent that goes backwards ends the walk).
    virtual bool ColumnEnded(const QString& columnOid, const QString& previousWalkPosition,
                             const QString& receivedOid);

private:
    struct Liveness;
    enum class Operation { Get, Set };

    QList<qv::VarBind> buildGet(bool first);
    // The bindings of a set, and the indices of the variables they carry.
    QList<qv::VarBind> buildSet(std::vector<int>& sent);
    void applySelection(const QString& selection, const QStringList* values);
    // A set's bindings: the selection and the set expressions applied to the list, the
    // bindings built, the list restored.
    QList<qv::VarBind> prepareSet(const QString& selection, const QStringList* values,
                                  std::vector<int>& sent);
    // Reports a failure: count, record, onComplete.
    void report(int code, const QString& text, const qv::ExchangeResult* answer);
    qv::Target target() const;
    // Steps 3 to 5 of a get step: the answer's bindings, in the order of the readable variables,
    // stored or counted as the end of their column; then the row instance and get expressions.
    // A noSuchName answer of a table walk is the end of the walk when the agent returned the
    // OIDs it was asked for; otherwise it is reported and the variables are read anyway
    // (synchronous), or the reading stops (asynchronous: stopOnFailure).
    struct ReadOutcome {
        bool rowRead = false;
        bool allEnded = false;
        bool walkOver = false;
        bool failed102 = false;
    };
    ReadOutcome readAnswer(const qv::ExchangeResult& answer, int code,
                           const QList<qv::VarBind>& asked, bool stopOnFailure);
    // A set's answer read back: each binding into the variable it was sent for (the column rule
    // of walks does not apply); true for a table row.
    bool storeSetAnswer(const qv::ExchangeResult& answer, const std::vector<int>& sent);
    void sendAsync(Operation op, const QList<qv::VarBind>& binds, const std::vector<int>& sent,
                   AnswerHandler handler, bool readValues);
    // sent: the variables of a set, none for a get step.
    void onAnswer(quint64 id, const qv::ExchangeResult& answer, const QList<qv::VarBind>& asked,
                  const std::vector<int>* sent, const AnswerHandler& handler, bool readValues);

    int outstanding_ = 0;
    int delivering_ = 0; // answers whose handler is running
    quint64 errorCount_ = 0;
    std::set<quint64> pending_;
    std::shared_ptr<Liveness> liveness_;
};
