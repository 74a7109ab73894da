#include "snmplib/request.h"

#include "platform/timers.h"
#include "snmplib/datetime.h"
#include "snmplib/exchange.h"
#include "snmplib/expression.h"
#include "snmplib/messages.h"
#include "snmplib/qv_exception.h"
#include "snmplib/value_format.h"

#include "snmplib/error_codes.h"
#include <cmath>
#include <limits>
#include <QEventLoop>
#include <QTimer>

using namespace qv::code;

using qv::ExchangeResult;
using qv::ValueType;
using qv::VarBind;

namespace {

constexpr int kDestructionWaitMs = 6000;

bool isException(ValueType type) {
    return type == ValueType::NoSuchObject || type == ValueType::NoSuchInstance ||
           type == ValueType::EndOfMibView;
}

bool isNumber(ValueType type) {
    switch (type) {
    case ValueType::Integer:
    case ValueType::Counter32:
    case ValueType::Gauge32:
    case ValueType::TimeTicks:
    case ValueType::UInteger32:
    case ValueType::Counter64:
        return true;
    default:
        return false;
    }
}

quint64 numberOf(const VarBind& b) {
    return b.type == ValueType::Counter64 ? b.counter64 : static_cast<quint64>(b.integer);
}

bool isValidKind(quint8 kind) {
    return kind <= MVT_UMV;
}

// OIDs compared arc by arc; false when either is not an OID.
bool oidNotGreater(const QString& received, const QString& previous) {
    std::vector<quint32> a;
    std::vector<quint32> b;
    try {
        a = qv::OidFromText(received);
        b = qv::OidFromText(previous);
    } catch (const QvException&) {
        return false;
    }
    return !std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end());
}

qint64 toInteger(double value) {
    constexpr double kLimit = 9223372036854775807.0;
    const double whole = std::trunc(value);
    if (whole >= kLimit)
        return std::numeric_limits<qint64>::max();
    if (whole <= -kLimit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(whole);
}

// The raw value of an answer as the descriptor's syntax reads it; empty when the answer carries
// nothing that syntax can hold.
QByteArray answerRaw(const VarBind& b, int syntax) {
    if (b.type == ValueType::Null || isException(b.type))
        return {};
    switch (syntax) {
    case QvSyntax::boolean:
    case QvSyntax::integer:
    case QvSyntax::counter:
    case QvSyntax::guage:
    case QvSyntax::uinteger:
    case QvSyntax::timeticks:
        return isNumber(b.type) ? qv::RawFromUInt32(static_cast<quint32>(numberOf(b)))
                                : QByteArray();
    case QvSyntax::counter64:
        return isNumber(b.type) ? qv::RawFromUInt64(numberOf(b)) : QByteArray();
    case QvSyntax::objectid:
        if (b.type != ValueType::ObjectId)
            return {};
        try {
            return qv::RawFromOid(qv::OidFromText(QString::fromLatin1(b.bytes)));
        } catch (const QvException&) {
            return {};
        }
    case QvSyntax::displaystr:
        if (isNumber(b.type))
            return QByteArray::number(b.type == ValueType::Integer ? b.integer
                                                                   : qint64(numberOf(b)));
        return b.bytes; // the dotted text for an OID
    default:
        return isNumber(b.type) ? QByteArray() : b.bytes;
    }
}

} // namespace

// What an answer handler can reach: a request that is being destroyed no longer hands answers to
// its handlers.
struct QvSNMPRequest::Liveness {
    QvSNMPRequest* request;
    bool destroying = false;
    QEventLoop* waitLoop = nullptr;
};

QvSNMPRequest::QvSNMPRequest()
    : timeout(qv::defaultTimeout()), device(qv::sessionDevice()), scope(qv::sessionScope()),
      security(qv::sessionSecurity()), liveness_(std::make_shared<Liveness>(Liveness{this})) {}

QvSNMPRequest::~QvSNMPRequest() {
    active = false;
    liveness_->destroying = true;
    // An answer whose handler is running right now (and destroys this request) is not waited for.
    if (outstanding_ - delivering_ > 0) {
        QEventLoop loop;
        liveness_->waitLoop = &loop;
        std::unique_ptr<QTimer> deadline(platform::makeTimer(nullptr, kDestructionWaitMs, true));
        QObject::connect(deadline.get(), &QTimer::timeout, &loop, &QEventLoop::quit);
        deadline->start();
        loop.exec();
        liveness_->waitLoop = nullptr;
    }
    for (quint64 id : pending_)
        qv::cancelExchange(id);
    liveness_->request = nullptr;
}

// --- building the PDU ----------------------------------------------------------------------

QList<VarBind> QvSNMPRequest::buildGet(bool first) {
    if (!first && !vars.isTable())
        throw QvException(kNextOnScalarList);
    QList<VarBind> binds;
    for (int i = 0; i < vars.count(); ++i) {
        if (!vars.readable(i))
            continue;
        QvSNMPVar& v = vars.item(i);
        if (first) {
            v.walkPosition.clear();
            const QString base = vars.BaseOid(i);
            binds.append(
                VarBind::null(vars.ItemType == SVT_SV ? base + QStringLiteral(".0") : base));
        } else {
            binds.append(VarBind::null(v.walkPosition));
        }
    }
    return binds;
}

QList<VarBind> QvSNMPRequest::buildSet(std::vector<int>& sent) {
    if (!isValidKind(vars.ItemType))
        throw QvException(kBadListKind);
    const QString instance = vars.isTable() ? vars.EncodeInstance() : QString();
    QList<VarBind> binds;
    for (int i = 0; i < vars.count(); ++i) {
        if (!vars.settable(i) || vars.isKey(i))
            continue;
        QString oid = vars.BaseOid(i);
        if (vars.ItemType == SVT_SV)
            oid += QStringLiteral(".0");
        else if (vars.isTable())
            oid += u'.' + instance;
        VarBind b = VarBind::null(oid);
        LoadBinding(i, b);
        binds.append(b);
        sent.push_back(i);
    }
    return binds;
}

void QvSNMPRequest::applySelection(const QString& selection, const QStringList* values) {
    if (selection.isEmpty())
        return;
    const QStringList picked = selection.split(u',', Qt::SkipEmptyParts);
    std::vector<int> positions(static_cast<size_t>(vars.count()), -1);
    for (int p = 0; p < picked.size(); ++p) {
        bool ok = false;
        const int index = picked[p].trimmed().toInt(&ok);
        if (ok && index >= 0 && index < vars.count() && positions[size_t(index)] < 0)
            positions[size_t(index)] = p;
    }
    for (int i = 0; i < vars.count(); ++i) {
        QvSNMPVar& v = vars.item(i);
        const int p = positions[size_t(i)];
        if (p < 0) {
            v.access |= QvAccess::invalid;
            continue;
        }
        v.access &= ~quint32{QvAccess::invalid};
        if (values != nullptr && p < values->size())
            v.value = values->at(p);
    }
}

QList<VarBind> QvSNMPRequest::prepareSet(const QString& selection, const QStringList* values,
                                         std::vector<int>& sent) {
    // The list is restored whatever happens once the bindings are built.
    const QvSNMPVarList saved(vars);
    struct Restore {
        QvSNMPVarList& vars;
        const QvSNMPVarList& saved;
        ~Restore() { vars.Assign(saved); }
    } restore{vars, saved};
    applySelection(selection, values);
    for (int i = 0; i < vars.count(); ++i)
        ApplyExpression(i, false);
    return buildSet(sent);
}

// --- reporting -----------------------------------------------------------------------------

void QvSNMPRequest::report(int code, const QString& text, const ExchangeResult* answer) {
    ++errorCount_;
    QvSNMPError record;
    record.code = code;
    record.text = text;
    record.errorCount = errorCount_;
    if (answer != nullptr) {
        record.errorIndex = answer->errorIndex;
        record.peerAddress = answer->peerAddress;
        record.peerPort = answer->peerPort;
    }
    if (onComplete)
        onComplete(record);
}

// --- reading an answer ---------------------------------------------------------------------

QvSNMPRequest::ReadOutcome QvSNMPRequest::readAnswer(const ExchangeResult& answer, int code,
                                                     const QList<VarBind>& asked,
                                                     bool stopOnFailure) {
    ReadOutcome outcome;
    const bool table = vars.isTable();
    const QString codeText = qv::codeText(kNoSuchName);
    int j = 0;
    int notEnded = 0;
    QString instance;
    bool haveInstance = false;
    for (int i = 0; i < vars.count(); ++i) {
        if (!vars.readable(i))
            continue;
        const VarBind* b = j < answer.varbinds.size() ? &answer.varbinds[j] : nullptr;
        const QString askedOid = j < asked.size() ? asked[j].oid : QString();
        ++j;
        if (code == kNoSuchName && table) {
            // An SNMPv1 agent past the end of its MIB answers with the OIDs it was asked for.
            if (b != nullptr && b->oid == askedOid) {
                outcome.walkOver = true;
                return outcome;
            }
            if (stopOnFailure) {
                outcome.failed102 = true;
                return outcome;
            }
            report(kNoSuchName, codeText, &answer);
        }
        QvSNMPVar& v = vars.item(i);
        const QString base = vars.BaseOid(i);
        const bool ended =
            b == nullptr ||
            (table && (isException(b->type) || ColumnEnded(base, v.walkPosition, b->oid)));
        if (ended) {
            v.value = qv::kNotDoneValue;
            if (table) {
                QString keys;
                try {
                    keys = vars.EncodeInstance();
                } catch (const QvException&) {
                    // Keys not read yet (an empty table) have nothing to code.
                }
                v.walkPosition = keys.isEmpty() ? base : base + u'.' + keys;
            }
            continue;
        }
        StoreAnswer(i, *b);
        v.walkPosition = b->oid;
        ++notEnded;
        if (!haveInstance && b->oid.size() > base.size()) {
            instance = b->oid.mid(base.size() + 1);
            haveInstance = true;
        }
    }
    if (notEnded == 0) {
        outcome.allEnded = true;
        return outcome;
    }
    if (table)
        vars.DecodeInstance(instance);
    for (int i = 0; i < vars.count(); ++i)
        ApplyExpression(i, true);
    outcome.rowRead = table;
    return outcome;
}

namespace {

// A scalar get whose answer holds an SNMPv2 exception value fails as an SNMPv1 agent's
// noSuchName would: code -102, the error index at the first such binding.
bool exceptionAsNoSuchName(const ExchangeResult& answer, int& code, int& errorIndex) {
    for (int j = 0; j < answer.varbinds.size(); ++j) {
        if (isException(answer.varbinds[j].type)) {
            code = kNoSuchName;
            errorIndex = j + 1;
            return true;
        }
    }
    return false;
}

qv::PduKind getKind(const QvSNMPVarList& vars, bool useGetNext) {
    if (vars.ItemType == SVT_SV)
        return qv::PduKind::Get;
    if (vars.ItemType == MVT_SV)
        return useGetNext ? qv::PduKind::GetNext : qv::PduKind::Get;
    return qv::PduKind::GetNext;
}

} // namespace

qv::Target QvSNMPRequest::target() const {
    qv::Target t;
    t.device = device;
    t.scope = scope;
    t.security = security;
    t.timeout = timeout;
    t.retries = retries;
    return t;
}

bool QvSNMPRequest::storeSetAnswer(const ExchangeResult& answer, const std::vector<int>& sent) {
    const qsizetype n = std::min<qsizetype>(answer.varbinds.size(), qsizetype(sent.size()));
    for (qsizetype j = 0; j < n; ++j)
        StoreAnswer(sent[size_t(j)], answer.varbinds[j]);
    for (int i = 0; i < vars.count(); ++i)
        ApplyExpression(i, true);
    return vars.isTable() && n > 0;
}

// --- synchronous operations ----------------------------------------------------------------

bool QvSNMPRequest::GetStep(bool& ok, bool first) {
    if (!active) {
        ok = false;
        return false;
    }
    const QList<VarBind> asked = buildGet(first);
    if (!isValidKind(vars.ItemType)) {
        report(kBadListKind, qv::codeText(kBadListKind), nullptr);
        ok = false;
        return false;
    }
    ExchangeResult answer = qv::exchange(target(), getKind(vars, useGetNext), asked);
    qv::MappedResult mapped = qv::MapResult(answer.result);
    if (mapped.code == 0 && !vars.isTable() &&
        exceptionAsNoSuchName(answer, mapped.code, answer.errorIndex))
        mapped.text = qv::codeText(mapped.code);
    if (mapped.code != 0 && !(mapped.code == kNoSuchName && vars.isTable())) {
        report(mapped.code, mapped.text, &answer);
        ok = false;
        return false;
    }
    const ReadOutcome outcome = readAnswer(answer, mapped.code, asked, false);
    if (mapped.code != 0 && !outcome.walkOver)
        ok = false;
    return outcome.rowRead;
}

bool QvSNMPRequest::Set(bool& ok, bool readBack, const QString& selection,
                        const QStringList* values) {
    if (!active) {
        ok = false;
        return false;
    }
    std::vector<int> sent;
    const QList<VarBind> binds = prepareSet(selection, values, sent);
    const ExchangeResult answer = qv::exchange(target(), qv::PduKind::Set, binds);
    const qv::MappedResult mapped = qv::MapResult(answer.result);
    if (mapped.code != 0) {
        // Including noSuchName: a refused SET is never the end of a walk.
        report(mapped.code, mapped.text, &answer);
        ok = false;
        return false;
    }
    if (!readBack)
        return false;
    return storeSetAnswer(answer, sent);
}

// --- asynchronous operations ---------------------------------------------------------------

void QvSNMPRequest::GetStepAsync(AnswerHandler handler, bool first) {
    if (!active)
        return;
    const QList<VarBind> asked = buildGet(first);
    if (!isValidKind(vars.ItemType)) {
        report(kBadListKind, qv::codeText(kBadListKind), nullptr);
        return;
    }
    sendAsync(Operation::Get, asked, {}, std::move(handler), true);
}

void QvSNMPRequest::SetAsync(AnswerHandler handler, bool readBack, const QString& selection,
                             const QStringList* values) {
    if (!active)
        return;
    std::vector<int> sent;
    const QList<VarBind> binds = prepareSet(selection, values, sent);
    sendAsync(Operation::Set, binds, sent, std::move(handler), readBack);
}

void QvSNMPRequest::sendAsync(Operation op, const QList<VarBind>& binds,
                              const std::vector<int>& sent, AnswerHandler handler,
                              bool readValues) {
    const qv::PduKind kind = op == Operation::Set ? qv::PduKind::Set : getKind(vars, useGetNext);
    auto id = std::make_shared<quint64>(0);
    std::weak_ptr<Liveness> weak = liveness_;
    const qv::SendOutcome outcome = qv::sendAsync(
        target(), kind, binds,
        [weak, id, binds, sent, handler = std::move(handler), readValues,
         op](const ExchangeResult& answer) {
            const std::shared_ptr<Liveness> alive = weak.lock();
            if (!alive || alive->request == nullptr)
                return; // the request is gone: the answer is dropped
            alive->request->onAnswer(*id, answer, binds, op == Operation::Set ? &sent : nullptr,
                                     handler, readValues);
        });
    if (!outcome.sent()) {
        const qv::MappedResult mapped = qv::MapResult(outcome.refusal.result);
        report(mapped.code, mapped.text, &outcome.refusal);
        return;
    }
    *id = outcome.id;
    pending_.insert(outcome.id);
    ++outstanding_;
}

void QvSNMPRequest::onAnswer(quint64 id, const ExchangeResult& answer, const QList<VarBind>& asked,
                             const std::vector<int>* sent, const AnswerHandler& handler,
                             bool readValues) {
    pending_.erase(id);
    if (liveness_->destroying) {
        --outstanding_;
        if (outstanding_ - delivering_ == 0 && liveness_->waitLoop != nullptr)
            liveness_->waitLoop->quit();
        return;
    }
    const qv::MappedResult mapped = qv::MapResult(answer.result);
    QvSNMPError record;
    record.code = mapped.code;
    record.text = mapped.text;
    record.errorIndex = answer.errorIndex;
    record.peerAddress = answer.peerAddress;
    record.peerPort = answer.peerPort;
    record.last = true;
    try {
        if (record.code == 0 && readValues && !vars.isTable() &&
            exceptionAsNoSuchName(answer, record.code, record.errorIndex))
            record.text = qv::codeText(record.code);
        const bool walkEnd = sent == nullptr && record.code == kNoSuchName && vars.isTable();
        if (sent != nullptr) {
            if (record.code == 0 && readValues)
                storeSetAnswer(answer, *sent); // a set has one answer: last stays true
        } else if ((record.code == 0 && readValues) || walkEnd) {
            const ReadOutcome outcome = readAnswer(answer, record.code, asked, true);
            if (outcome.walkOver) {
                record.code = 0;
                record.text = qv::codeText(0);
            }
            record.last = !outcome.rowRead;
        }
    } catch (const QvException& e) {
        record.code = e.code();
        record.text = e.text();
        record.last = true;
    }
    if (record.code != 0)
        ++errorCount_;
    record.errorCount = errorCount_;
    // The handler may start the next step, or destroy this request (a page that closes).
    const std::shared_ptr<Liveness> alive = liveness_;
    ++delivering_;
    try {
        if (handler)
            handler(record, vars);
    } catch (const QvException& e) {
        // Nothing may escape into the event loop; the fault is reported like any other.
        if (alive->request != nullptr)
            report(e.code(), e.text(), nullptr);
    }
    if (alive->request == nullptr)
        return;
    --delivering_;
    --outstanding_;
}

// --- the virtual operations ----------------------------------------------------------------

QString QvSNMPRequest::Substitute(const QString& expression, bool quote, const QString& marker) {
    if (marker.isEmpty())
        return expression;
    QString result;
    int pos = 0;
    while (pos < expression.size()) {
        const qsizetype at = expression.indexOf(marker, pos);
        if (at < 0)
            break;
        result += expression.mid(pos, at - pos);
        int end = int(at + marker.size());
        while (end < expression.size() && expression[end] >= u'0' && expression[end] <= u'9')
            ++end;
        const QString digits = expression.mid(at + marker.size(), end - at - marker.size());
        pos = end;
        if (digits.isEmpty()) {
            result += marker;
            continue;
        }
        bool ok = false;
        const int n = digits.toInt(&ok);
        if (!ok || n >= vars.count())
            throw QvException(kBadExpression);
        const QvSNMPVar& v = vars.item(n);
        const QString value = v.optionList ? v.optionList->LabelToValue(v.value) : v.value;
        if (value == qv::kNullValue)
            throw QvException(kNullInExpression);
        switch (v.syntax) {
        case QvSyntax::boolean:
        case QvSyntax::bool8:
        case QvSyntax::bool16:
            result += value == QLatin1String("true") ? u'1' : u'0';
            break;
        case QvSyntax::integer:
        case QvSyntax::counter:
        case QvSyntax::guage:
        case QvSyntax::counter64:
        case QvSyntax::uinteger:
        case QvSyntax::double_:
        case QvSyntax::int8:
        case QvSyntax::uint8:
        case QvSyntax::int16:
        case QvSyntax::uint16:
            result += value;
            break;
        case QvSyntax::timeticks:
            result += QString::number(qv::TimeticksFromText(value));
            break;
        case QvSyntax::bcdatetime:
            result += qv::DoubleText(qv::BcDateTimeFromText(value));
            break;
        default:
            if (!quote)
                throw QvException(kBadExpression);
            result += u'"' + value + u'"';
        }
    }
    result += expression.mid(pos);
    return result;
}

QString QvSNMPRequest::DecodeKey(int k, const QString& instance) {
    return vars.DecodeKey(k, instance);
}

QString QvSNMPRequest::EncodeKey(int k) {
    return vars.EncodeKey(k);
}

void QvSNMPRequest::StoreAnswer(int i, const VarBind& binding) {
    QvSNMPVar& v = vars.item(i);
    if (!qv::IsKnownSyntax(v.syntax) || v.syntax >= QvSyntax::bool8)
        throw QvException(kBadSyntax);
    const QByteArray raw = answerRaw(binding, v.syntax);
    QString text;
    switch (v.syntax) {
    case QvSyntax::bitstr:
    case QvSyntax::octetstr:
    case QvSyntax::opaque:
    case QvSyntax::macaddress:
        // Kept as they come, an empty string included.
        text = QString::fromLatin1(raw.toHex().toUpper());
        break;
    default:
        try {
            text = qv::RawToText(raw, v.syntax);
        } catch (const QvException&) {
            // Too short for the syntax (or no date): shown as no value.
            text = qv::kNullValue;
        }
    }
    v.value = v.optionList ? v.optionList->ValueToLabel(text) : text;
}

void QvSNMPRequest::LoadBinding(int i, VarBind& binding) {
    const QvSNMPVar& v = vars.item(i);
    if (!qv::IsKnownSyntax(v.syntax) || v.syntax >= QvSyntax::bool8)
        throw QvException(kBadSyntax);
    const QString text = v.optionList ? v.optionList->LabelToValue(v.value) : v.value;
    binding.integer = 0;
    binding.counter64 = 0;
    binding.bytes.clear();
    if (text == qv::kNullValue || v.syntax == QvSyntax::null) {
        binding.type = ValueType::Null;
        return;
    }
    const QByteArray raw = qv::TextToRaw(text, v.syntax);
    switch (v.syntax) {
    case QvSyntax::boolean:
    case QvSyntax::integer:
        binding.type = ValueType::Integer;
        binding.integer = qv::RawToInt32(raw);
        break;
    case QvSyntax::counter:
        binding.type = ValueType::Counter32;
        binding.integer = qv::RawToUInt32(raw);
        break;
    case QvSyntax::guage:
    case QvSyntax::uinteger:
        binding.type = ValueType::Gauge32;
        binding.integer = qv::RawToUInt32(raw);
        break;
    case QvSyntax::timeticks:
        binding.type = ValueType::TimeTicks;
        binding.integer = qv::RawToUInt32(raw);
        break;
    case QvSyntax::counter64:
        binding.type = ValueType::Counter64;
        binding.counter64 = qv::RawToUInt64(raw);
        break;
    case QvSyntax::objectid: {
        binding.type = ValueType::ObjectId;
        const std::vector<quint32> arcs = qv::RawToOid(raw);
        binding.bytes = qv::OidText(arcs).toLatin1();
        break;
    }
    case QvSyntax::ipaddress:
    case QvSyntax::nsapaddr:
        binding.type = ValueType::IpAddress;
        binding.bytes = raw;
        if (raw.size() != 4)
            throw QvException(kBadValue);
        break;
    default: // the octet-string syntaxes, double, datetime, bcdatetime, displaystr
        binding.type = ValueType::OctetString;
        binding.bytes = raw;
    }
}

void QvSNMPRequest::ApplyExpression(int i, bool afterGet) {
    QvSNMPVar& v = vars.item(i);
    const std::optional<QString>& expression = afterGet ? v.getExpression : v.setExpression;
    if (!expression.has_value())
        return;
    const double number =
        qv::EvaluateArithmetic(Substitute(*expression, false, QStringLiteral("$")));
    QString text;
    switch (v.syntax) {
    case QvSyntax::boolean:
        text = number != 0 ? QStringLiteral("true") : QStringLiteral("false");
        break;
    case QvSyntax::integer:
    case QvSyntax::counter:
    case QvSyntax::guage:
    case QvSyntax::uinteger:
    case QvSyntax::counter64:
        text = QString::number(toInteger(number));
        break;
    case QvSyntax::timeticks:
        text = qv::TimeticksText(static_cast<quint32>(toInteger(number)));
        break;
    case QvSyntax::double_:
        text = qv::DoubleText(number);
        break;
    case QvSyntax::bcdatetime:
        text = qv::BcDateTimeText(number);
        break;
    default:
        throw QvException(kBadExpression);
    }
    v.value = v.optionList ? v.optionList->ValueToLabel(text) : text;
}

bool QvSNMPRequest::AcceptRow(const QString& filter) {
    if (filter.isEmpty())
        return true;
    return qv::EvaluateLogical(Substitute(filter, true, QStringLiteral("$")));
}

bool QvSNMPRequest::ColumnEnded(const QString& columnOid, const QString& previousWalkPosition,
                                const QString& receivedOid) {
    if (!vars.isTable())
        return false;
    const QString prefix = columnOid + u'.';
    if (receivedOid.size() <= prefix.size() || !receivedOid.startsWith(prefix))
        return true;
    if (receivedOid == previousWalkPosition)
        return true;
    return !previousWalkPosition.isEmpty() && oidNotGreater(receivedOid, previousWalkPosition);
}
