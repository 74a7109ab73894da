#pragma once
// SNMP exchanges with the device: one PDU out (GET, GET-NEXT or SET), its answer or time-out
// back. The request engine builds on this; net-snmp stays behind it.
//
// Every exchange works on its own copy of the session parameters (`Target`). Results come in the
// numbering that MapResult expects: 0 success, 1..19 the answer's error status, -1..-23 class
// results (-5 time-out), 1401..1414 USM results, -1402..-1418 message-processing results.
//
// Asynchronous answers are delivered on the UI thread from the event loop (socket notifications
// and one time-out timer; nothing runs while the module is idle). No delivery starts while
// another runs; a handler may start the next exchange.
#include <functional>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include "snmplib/session.h"

namespace qv {

// Everything one exchange needs: the session parameters as they were when the request was made,
// the per-try time-out in hundredths of a second and the number of retries after the first try.
struct Target {
    QvSNMPDevice device;
    QvSNMPScope scope;
    QvSNMPSecurity security;
    int timeout = 100;
    int retries = 1;
};

// A target from the global session records and the default time-out, one retry.
Target sessionTarget();

enum class PduKind { Get, GetNext, Set };

// Value types by their BER tags. The last three are the SNMPv2 exception values of an answer.
enum class ValueType : quint8 {
    Integer = 0x02,
    BitString = 0x03,
    OctetString = 0x04,
    Null = 0x05,
    ObjectId = 0x06,
    IpAddress = 0x40,
    Counter32 = 0x41,
    Gauge32 = 0x42,
    TimeTicks = 0x43,
    Opaque = 0x44,
    NsapAddress = 0x45,
    Counter64 = 0x46,
    UInteger32 = 0x47,
    NoSuchObject = 0x80,
    NoSuchInstance = 0x81,
    EndOfMibView = 0x82,
};

// One variable binding. `oid` is dotted decimal ("1.3.6.1.2.1.1.1.0"; a leading dot is
// accepted). The value sits in the field its type uses:
//   Integer                                   -> integer (signed)
//   Counter32, Gauge32, TimeTicks, UInteger32 -> integer (0 .. 2^32-1)
//   Counter64                                 -> counter64
//   OctetString, BitString, Opaque, NsapAddress, IpAddress (4 octets) -> bytes
//   ObjectId                                  -> bytes holding the dotted text
//   Null and the exception values             -> nothing
struct VarBind {
    QString oid;
    ValueType type = ValueType::Null;
    qint64 integer = 0;
    quint64 counter64 = 0;
    QByteArray bytes;

    static VarBind null(const QString& oid) { return {oid, ValueType::Null, 0, 0, {}}; }
};

// Dotted text of numeric arcs, and back: at least two arcs of 0 .. 2^32-1, an optional leading
// dot; false for anything else.
QString oidText(const QList<quint32>& arcs);
bool parseOid(const QString& text, QList<quint32>* arcs);

struct ExchangeResult {
    int result = 0;      // see above; MapResult turns it into code and text
    int errorStatus = 0; // of the answer PDU
    int errorIndex = 0;
    QList<VarBind> varbinds; // of the answer, in its order
    // The agent's address as "address/port" split at the "/" (the target's on a time-out).
    QString peerAddress;
    quint16 peerPort = 0;
};

// Synchronous exchange: blocks for at most timeout x (retries + 1) (twice that for the first
// SNMPv3 exchange with an agent, whose engine is discovered first). Raises QvException -509 when
// the address is neither a valid IPv4 address nor a resolvable name.
ExchangeResult exchange(const Target& target, PduKind kind, const QList<VarBind>& varbinds);

using ExchangeHandler = std::function<void(const ExchangeResult&)>;

// An asynchronous exchange in flight; 0 when nothing was sent.
using ExchangeId = quint64;

struct SendOutcome {
    ExchangeId id = 0;
    // When nothing was sent (id 0): why. The handler is not called for it.
    ExchangeResult refusal;
    bool sent() const { return id != 0; }
};

// Asynchronous exchange: returns at once. `handler` is called exactly once from the event loop
// with the answer or the time-out, unless the exchange is cancelled first. A send that cannot
// be made (unsupported protocol, bad OID or value, transport refusal) is returned as the refusal
// and never reaches the handler. Raises QvException -509 as exchange() does.
SendOutcome sendAsync(const Target& target, PduKind kind, const QList<VarBind>& varbinds,
                      ExchangeHandler handler);

// The handler of `id` is never called; a late answer is dropped. Unknown ids are ignored.
void cancelExchange(ExchangeId id);

// Asynchronous exchanges whose handler has not been called or cancelled yet.
int pendingExchanges();

// Whether the handler of an asynchronous answer is running. Answers are handled one at a time:
// one that arrives while a handler lets window events run waits until that handler returns.
bool handlingAnswer();

// While one lives, a synchronous exchange keeps the windows painted while it waits for its
// answer: every few milliseconds it lets the application handle window-system and posted events,
// but no user input, no timer and no socket notification, and no answer of an asynchronous
// exchange is delivered meanwhile. So the requests, their order and what the code around them
// sees are those of a blocking wait; only the windows repaint.
class PaintWhileWaiting {
public:
    PaintWhileWaiting();
    ~PaintWhileWaiting();
    PaintWhileWaiting(const PaintWhileWaiting&) = delete;
    PaintWhileWaiting& operator=(const PaintWhileWaiting&) = delete;
};

namespace detail {
// Used by CreateSession: starts the SNMP engine once (no MIB loading, no persistent state).
// False when no UDP endpoint can be opened.
bool startEngine();
// Hands the SNMP engine the local engine ID and boot count.
void setLocalEngine(const QByteArray& engineId, int bootCount);
// What the SNMP engine holds (tests).
QByteArray localEngineId();
int localBootCount();
// net-snmp's error and report numbers in the result numbering above.
int resultOfNetSnmpError(int error);
} // namespace detail

} // namespace qv
