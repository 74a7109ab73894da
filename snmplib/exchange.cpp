#include "snmplib/exchange.h"

#include <cerrno>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include "platform/secrets.h"
#include "platform/timers.h"
#include "snmplib/qv_exception.h"

// net-snmp last: its headers define macros that Qt's must not see.
#include "snmplib/error_codes.h"
#include <arpa/inet.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <netinet/in.h>
#include <sys/select.h>

using namespace qv::code;

namespace qv {

// ---------------------------------------------------------------------------------------------
// Results

namespace detail {

// net-snmp's error numbers in the result numbering of the message tables. Report PDUs of an
// SNMPv3 agent arrive as these numbers too (snmpv3_get_report_type).
int resultOfNetSnmpError(int error) {
    struct Row {
        int error;
        int result;
    };
    static constexpr Row rows[] = {
        {SNMPERR_SUCCESS, 0},
        {SNMPERR_GENERR, -1},
        {SNMPERR_BAD_LOCPORT, -21}, // transport in use
        {SNMPERR_BAD_ADDRESS, -18}, // invalid address
        {SNMPERR_BAD_SESSION, -10}, // class not valid
        {SNMPERR_TOO_LONG, -11},    // invalid PDU
        {SNMPERR_NO_SOCKET, -22},   // transport operation failed
        {SNMPERR_V2_IN_V1, -16},    // operation not supported on the target
        {SNMPERR_V1_IN_V2, -16},
        {SNMPERR_BAD_REPEATERS, -11},
        {SNMPERR_BAD_REPETITIONS, -11},
        {SNMPERR_BAD_ASN1_BUILD, -1413}, // build error
        {SNMPERR_BAD_SENDTO, -22},
        {SNMPERR_BAD_PARSE, -1408}, // parse error
        {SNMPERR_BAD_VERSION, -4},  // unsupported function
        {SNMPERR_BAD_SRC_PARTY, -1},
        {SNMPERR_BAD_DST_PARTY, -1},
        {SNMPERR_BAD_CONTEXT, -1417},   // unknown context
        {SNMPERR_BAD_COMMUNITY, -1411}, // community format error
        {SNMPERR_NOAUTH_DESPRIV, 1403}, // privacy without authentication
        {SNMPERR_BAD_ACL, -1},
        {SNMPERR_BAD_PARTY, -1},
        {SNMPERR_ABORT, -1},
        {SNMPERR_UNKNOWN_PDU, -1415}, // unknown PDU handlers
        {SNMPERR_TIMEOUT, -5},
        {SNMPERR_BAD_RECVFROM, -22},
        {SNMPERR_BAD_ENG_ID, -1406},   // invalid engine ID
        {SNMPERR_BAD_SEC_NAME, 1404},  // unknown security name
        {SNMPERR_BAD_SEC_LEVEL, 1403}, // unsupported security level
        {SNMPERR_ASN_PARSE_ERR, -1408},
        {SNMPERR_UNKNOWN_SEC_MODEL, -1402},
        {SNMPERR_INVALID_MSG, -1405},
        {SNMPERR_UNKNOWN_ENG_ID, 1410},
        {SNMPERR_UNKNOWN_USER_NAME, 1404},
        {SNMPERR_UNSUPPORTED_SEC_LEVEL, 1403},
        {SNMPERR_AUTHENTICATION_FAILURE, 1408},
        {SNMPERR_NOT_IN_TIME_WINDOW, 1411},
        {SNMPERR_DECRYPTION_ERR, 1406},
        {SNMPERR_SC_GENERAL_FAILURE, 1401},
        {SNMPERR_SC_NOT_CONFIGURED, 1401},
        {SNMPERR_KT_NOT_AVAILABLE, 1401},
        {SNMPERR_UNKNOWN_REPORT, -1418}, // report received
        {SNMPERR_USM_GENERICERROR, 1401},
        {SNMPERR_USM_UNKNOWNSECURITYNAME, 1404},
        {SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL, 1403},
        {SNMPERR_USM_ENCRYPTIONERROR, 1405},
        {SNMPERR_USM_AUTHENTICATIONFAILURE, 1408},
        {SNMPERR_USM_PARSEERROR, 1409},
        {SNMPERR_USM_UNKNOWNENGINEID, 1410},
        {SNMPERR_USM_NOTINTIMEWINDOW, 1411},
        {SNMPERR_USM_DECRYPTIONERROR, 1406},
        {SNMPERR_NOMIB, -17}, // invalid object identifier
        {SNMPERR_RANGE, -11},
        {SNMPERR_MAX_SUBID, -17},
        {SNMPERR_BAD_SUBID, -17},
        {SNMPERR_LONG_OID, -17},
        {SNMPERR_BAD_NAME, -17},
        {SNMPERR_VALUE, -11},
        {SNMPERR_UNKNOWN_OBJID, -17},
        {SNMPERR_NULL_PDU, -11},
        {SNMPERR_NO_VARS, -11},
        {SNMPERR_VAR_TYPE, -11},
        {SNMPERR_MALLOC, -2}, // resource unavailable
        {SNMPERR_KRB5, -1},
        {SNMPERR_PROTOCOL, -1},
        {SNMPERR_OID_NONINCREASING, -1},
        {SNMPERR_JUST_A_CONTEXT_PROBE, -1},
        {SNMPERR_TRANSPORT_NO_CONFIG, -20}, // transport not supported
        {SNMPERR_TRANSPORT_CONFIG_ERROR, -20},
        {SNMPERR_TLS_NO_CERTIFICATE, -20},
    };
    for (const Row& row : rows) {
        if (row.error == error)
            return row.result;
    }
    return -9; // unknown error code
}

} // namespace detail

namespace {

using detail::resultOfNetSnmpError;

// Results of our own checks, in the same numbering.
constexpr int resultTimeout = -5;
constexpr int resultInvalidPdu = -11;
constexpr int resultInvalidOid = -17;
constexpr int resultInternal = -3;
constexpr int resultUsmError = 1401;
constexpr int resultUnsupportedLevel = 1403;
constexpr int resultUnsupportedAuth = 1412;
constexpr int resultUnsupportedPriv = 1413;
constexpr int resultInvalidEngineId = -1406;

// Protocol numbers of the session records.
constexpr int authNone = 1;
constexpr int privNone = 1;
constexpr int levelNoAuth = 1, levelAuthNoPriv = 2, levelAuthPriv = 3;

// A USM transform the module offers: its number in the session records and net-snmp's
// identifier of it. The authentication numbers are the last arcs of the RFC 3414 and RFC 7860
// identifiers (net-snmp's own numbering too).
struct Transform {
    int number;
    const oid* id;
    std::size_t idLength;
};

template <std::size_t N> constexpr Transform transform(int number, const oid (&id)[N]) {
    return {number, id, N};
}

const Transform authTransforms[] = {
    transform(2, usmHMACMD5AuthProtocol),       transform(3, usmHMACSHA1AuthProtocol),
    transform(4, usmHMAC128SHA224AuthProtocol), transform(5, usmHMAC192SHA256AuthProtocol),
    transform(6, usmHMAC256SHA384AuthProtocol), transform(7, usmHMAC384SHA512AuthProtocol),
};

// AES-192 and AES-256 with the key extension of draft-blumenthal-aes-usm-04, as net-snmp's
// agents name them "AES192" and "AES256".
const Transform privTransforms[] = {
    transform(2, usmDESPrivProtocol),
    transform(19, usmAESPrivProtocol),
    transform(20, usmAES192PrivProtocol),
    transform(21, usmAES256PrivProtocol),
};

template <std::size_t N> const Transform* findTransform(const Transform (&table)[N], int number) {
    for (const Transform& t : table) {
        if (t.number == number)
            return &t;
    }
    return nullptr;
}

ExchangeResult failure(int result) {
    ExchangeResult r;
    r.result = result;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Addresses

// A text of digits and dots must be a dotted IPv4 address; anything else is looked up as a name.
// So "300.1.1.1" fails at once instead of waiting for a name server.
std::optional<QHostAddress> resolveIPv4(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    const bool numeric =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit() || c == u'.'; });
    if (numeric) {
        const QStringList parts = text.split(u'.');
        if (parts.size() != 4)
            return std::nullopt;
        quint32 address = 0;
        for (const QString& part : parts) {
            bool ok = false;
            const uint value = part.toUInt(&ok);
            if (!ok || part.size() > 3 || value > 255)
                return std::nullopt;
            address = address << 8 | value;
        }
        return QHostAddress(address);
    }
    const QHostInfo info = QHostInfo::fromName(text);
    for (const QHostAddress& a : info.addresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// OIDs and values

bool toOidArray(const QString& text, oid* out, size_t* length) {
    QList<quint32> arcs;
    if (!parseOid(text, &arcs) || arcs.size() > MAX_OID_LEN)
        return false;
    for (qsizetype i = 0; i < arcs.size(); ++i)
        out[i] = arcs[i];
    *length = static_cast<size_t>(arcs.size());
    return true;
}

QString oidArrayText(const oid* arcs, size_t length) {
    QString text;
    for (size_t i = 0; i < length; ++i) {
        if (i)
            text += u'.';
        text += QString::number(static_cast<quint64>(arcs[i]));
    }
    return text;
}

struct PduDeleter {
    void operator()(netsnmp_pdu* pdu) const { snmp_free_pdu(pdu); }
};
using PduPtr = std::unique_ptr<netsnmp_pdu, PduDeleter>;

// Adds one binding; the value only for a SET. False for a value that cannot be encoded.
bool addBinding(netsnmp_pdu* pdu, const VarBind& vb, bool withValue, int* result) {
    oid name[MAX_OID_LEN];
    size_t nameLength = 0;
    if (!toOidArray(vb.oid, name, &nameLength)) {
        *result = resultInvalidOid;
        return false;
    }
    if (!withValue) {
        snmp_add_null_var(pdu, name, nameLength);
        return true;
    }
    *result = resultInvalidPdu;
    const auto type = static_cast<u_char>(vb.type);
    switch (vb.type) {
    case ValueType::Integer: {
        if (vb.integer < INT32_MIN || vb.integer > INT32_MAX)
            return false;
        const long value = static_cast<long>(vb.integer);
        return snmp_pdu_add_variable(pdu, name, nameLength, type, &value, sizeof value);
    }
    case ValueType::Counter32:
    case ValueType::Gauge32:
    case ValueType::TimeTicks:
    case ValueType::UInteger32: {
        if (vb.integer < 0 || vb.integer > UINT32_MAX)
            return false;
        const u_long value = static_cast<u_long>(vb.integer);
        return snmp_pdu_add_variable(pdu, name, nameLength, type, &value, sizeof value);
    }
    case ValueType::Counter64: {
        counter64 value{};
        value.high = static_cast<u_long>(vb.counter64 >> 32);
        value.low = static_cast<u_long>(vb.counter64 & 0xffffffffu);
        return snmp_pdu_add_variable(pdu, name, nameLength, type, &value, sizeof value);
    }
    case ValueType::IpAddress:
        if (vb.bytes.size() != 4)
            return false;
        [[fallthrough]];
    case ValueType::OctetString:
    case ValueType::BitString:
    case ValueType::Opaque:
    case ValueType::NsapAddress:
        return snmp_pdu_add_variable(pdu, name, nameLength, type, vb.bytes.constData(),
                                     static_cast<size_t>(vb.bytes.size()));
    case ValueType::ObjectId: {
        oid value[MAX_OID_LEN];
        size_t valueLength = 0;
        if (!toOidArray(QString::fromLatin1(vb.bytes), value, &valueLength))
            return false;
        return snmp_pdu_add_variable(pdu, name, nameLength, type, value, valueLength * sizeof(oid));
    }
    case ValueType::Null:
        return snmp_pdu_add_variable(pdu, name, nameLength, type, nullptr, 0);
    case ValueType::NoSuchObject:
    case ValueType::NoSuchInstance:
    case ValueType::EndOfMibView:
        return false;
    }
    return false;
}

VarBind answerBinding(const netsnmp_variable_list* v) {
    VarBind vb;
    vb.oid = oidArrayText(v->name, v->name_length);
    vb.type = static_cast<ValueType>(v->type);
    switch (v->type) {
    case ASN_INTEGER:
        vb.integer = v->val.integer ? static_cast<qint32>(*v->val.integer) : 0;
        break;
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
    case ASN_UINTEGER:
        vb.integer = v->val.integer ? static_cast<quint32>(*v->val.integer) : 0;
        break;
    case ASN_COUNTER64:
        if (v->val.counter64)
            vb.counter64 = (static_cast<quint64>(v->val.counter64->high & 0xffffffffu) << 32) |
                           (v->val.counter64->low & 0xffffffffu);
        break;
    case ASN_OBJECT_ID:
        vb.bytes = oidArrayText(v->val.objid, v->val_len / sizeof(oid)).toLatin1();
        break;
    case ASN_NULL:
    case SNMP_NOSUCHOBJECT:
    case SNMP_NOSUCHINSTANCE:
    case SNMP_ENDOFMIBVIEW:
        break;
    case ASN_OCTET_STR:
    case ASN_BIT_STR:
    case ASN_OPAQUE:
    case ASN_NSAP:
    case ASN_IPADDRESS:
        vb.bytes = QByteArray(reinterpret_cast<const char*>(v->val.string),
                              static_cast<qsizetype>(v->val_len));
        break;
    default:
        // Opaque-wrapped special types: handed on as opaque octets.
        vb.type = ValueType::Opaque;
        vb.bytes = QByteArray(reinterpret_cast<const char*>(v->val.string),
                              static_cast<qsizetype>(v->val_len));
        break;
    }
    return vb;
}

QByteArray engineIdBytes(const QString& text) {
    // "0x" followed by hex digits gives those octets; any other text its own characters.
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QByteArray hex = text.mid(2).toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (!hex.isEmpty() && hex.size() % 2 == 0 && bytes.toHex() == hex.toLower())
            return bytes;
    }
    return text.toUtf8();
}

u_char* copyBytes(const QByteArray& bytes) {
    auto* copy = static_cast<u_char*>(malloc(static_cast<size_t>(bytes.size()) + 1));
    if (copy) {
        memcpy(copy, bytes.constData(), static_cast<size_t>(bytes.size()));
        copy[bytes.size()] = 0;
    }
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Sessions

// One net-snmp session per distinct set of target parameters. The module uses one set, so in
// practice there is one socket; sessions live until the process ends.
struct Slot {
    void* session = nullptr;
    int socket = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    QHostAddress address;
    quint16 port = 0;
    bool v3 = false;
    bool engineKnown = true; // SNMPv3: the agent's engine ID has been discovered
    bool discovering = false;
    std::deque<ExchangeId> waitingForEngine;
};

struct Pending {
    Slot* slot = nullptr;
    ExchangeHandler handler; // empty for a synchronous exchange
    PduPtr pdu;              // built, not yet sent (waiting for engine discovery)
    bool done = false;
    ExchangeResult result;
};

int onAnswer(int op, netsnmp_session* session, int reqid, netsnmp_pdu* pdu, void* magic);
int onProbeAnswer(int op, netsnmp_session* session, int reqid, netsnmp_pdu* pdu, void* magic);

class Engine : public QObject {
public:
    explicit Engine(QObject* parent) : QObject(parent) {
        // net-snmp's next retransmission or time-out. A protocol time, not a count-down: the
        // interval is set from net-snmp's own deadline each time.
        timer_ = platform::makeTimer(this, 0, true);
        timer_->setObjectName(QStringLiteral("snmpExchangeDeadline"));
        connect(timer_, &QTimer::timeout, this, [this] { onTimer(); });
    }
    ~Engine() override;

    Slot* BuildTarget(const Target& target, int* refusal);
    SendOutcome start(Slot* slot, PduPtr pdu, ExchangeHandler handler);
    ExchangeResult wait(ExchangeId id);
    void cancel(ExchangeId id);
    int pendingCount() const;
    bool delivering() const { return delivering_; }
    int& paintWhileWaiting() { return paintWhileWaiting_; }

    void answered(ExchangeId id, int op, netsnmp_session* session, netsnmp_pdu* pdu);
    void probeAnswered(Slot* slot, int op, netsnmp_session* session, netsnmp_pdu* pdu);

private:
    bool claimUser(Slot* slot);
    bool transmit(ExchangeId id);
    void finish(ExchangeId id, ExchangeResult result);
    void probe(Slot* slot);
    void read(Slot* slot);
    void onTimer();
    void arm();
    void scheduleDelivery();
    void deliver();

    std::map<QString, std::unique_ptr<Slot>> slots_;
    std::map<QByteArray, Slot*> usmOwners_; // engine ID + NUL + user name -> session
    std::map<ExchangeId, Pending> pending_;
    std::deque<ExchangeId> ready_;
    ExchangeId nextId_ = 1;
    QTimer* timer_ = nullptr;
    bool delivering_ = false;
    bool deliveryScheduled_ = false;
    int waiting_ = 0;           // synchronous exchanges waiting (nested through a repaint)
    int paintWhileWaiting_ = 0; // PaintWhileWaiting objects alive
};

QPointer<Engine>& enginePointer() {
    static QPointer<Engine> engine;
    return engine;
}

Engine::~Engine() {
    // Only at the end of the process (the engine belongs to the application object). Answers
    // still outstanding find no engine and are dropped.
    enginePointer() = nullptr;
    for (auto& [key, slot] : slots_) {
        slot->notifier.reset();
        snmp_sess_close(slot->session);
    }
}

void initNetSnmp() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // Nothing of net-snmp's own: no configuration files, no persistent state, no MIB files (OIDs
    // are numeric throughout), so it neither writes files nor prints MIB warnings.
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    const bool hadMibs = qEnvironmentVariableIsSet("MIBS");
    const QByteArray mibs = qgetenv("MIBS");
    qputenv("MIBS", "");
    netsnmp_set_mib_directory("");
    init_snmp("kw9100");
    if (hadMibs)
        qputenv("MIBS", mibs);
    else
        qunsetenv("MIBS");
}

Engine& engine() {
    QPointer<Engine>& e = enginePointer();
    if (!e) {
        initNetSnmp();
        e = new Engine(QCoreApplication::instance());
    }
    return *e;
}

QString slotKey(const Target& t) {
    const QvSNMPSecurity& s = t.security;
    const QStringList fields = {
        t.device.address,
        QString::number(t.device.port),
        QString::number(t.timeout),
        QString::number(t.retries),
        QString::number(s.version),
        s.version == 3 ? QString() : s.readCommunity,
        s.version == 3 ? s.securityName : QString(),
        s.version == 3 ? QString::number(s.securityLevel) : QString(),
        s.version == 3 ? QString::number(s.authProtocol) : QString(),
        s.version == 3 ? QString::number(s.privProtocol) : QString(),
        s.version == 3 ? s.authPassword : QString(),
        s.version == 3 ? s.privPassword : QString(),
        s.version == 3 ? QString::fromLatin1(s.authKey.toHex()) : QString(),
        s.version == 3 ? QString::fromLatin1(s.privKey.toHex()) : QString(),
    };
    return fields.join(QChar(0x1f));
}

// A user's key (RFC 3414 Ku) from a pass phrase, hashed with the authentication transform: as
// long as that hash's output (64 octets for SHA-512). Empty for a pass phrase net-snmp refuses
// (fewer than 8 characters).
QByteArray passPhraseKey(const Transform& auth, const QString& passPhrase) {
    QByteArray pass = passPhrase.toUtf8();
    QByteArray key(USM_AUTH_KU_LEN, '\0');
    auto length = static_cast<size_t>(key.size());
    const bool made =
        !pass.isEmpty() &&
        generate_Ku(auth.id, static_cast<u_int>(auth.idLength),
                    reinterpret_cast<const u_char*>(pass.constData()),
                    static_cast<size_t>(pass.size()), reinterpret_cast<u_char*>(key.data()),
                    &length) == SNMPERR_SUCCESS;
    platform::wipe(pass);
    if (!made) {
        platform::wipe(key);
        return {};
    }
    key.truncate(static_cast<qsizetype>(length));
    return key;
}

// The key a record holds, or the one its pass phrase gives.
QByteArray userKey(const Transform& auth, const QByteArray& key, const QString& passPhrase) {
    return key.isEmpty() ? passPhraseKey(auth, passPhrase) : key;
}

// Copies a key into a session template's buffer; false when it has no key or does not fit.
bool setKey(QByteArray key, u_char* buffer, size_t capacity, size_t* length) {
    const bool fits = !key.isEmpty() && static_cast<size_t>(key.size()) <= capacity;
    if (fits) {
        std::memcpy(buffer, key.constData(), static_cast<size_t>(key.size()));
        *length = static_cast<size_t>(key.size());
    }
    platform::wipe(key);
    return fits;
}

// The USM settings of an SNMPv3 session; a result other than 0 when they cannot be used. A
// protocol the module does not know is refused, never replaced by a weaker one or none.
int setUpUsm(const QvSNMPSecurity& s, netsnmp_session* cfg) {
    const int level = s.securityLevel;
    if (level < levelNoAuth || level > levelAuthPriv)
        return resultUnsupportedLevel;
    const Transform* auth = findTransform(authTransforms, s.authProtocol);
    if (s.authProtocol != authNone && !auth)
        return resultUnsupportedAuth;
    // IDEA and every other cipher net-snmp lacks: refused, never sent without privacy.
    const Transform* priv = findTransform(privTransforms, s.privProtocol);
    if (level == levelAuthPriv && s.privProtocol != privNone && !priv)
        return resultUnsupportedPriv;
    if (level >= levelAuthNoPriv && !auth)
        return resultUnsupportedLevel;
    if (level == levelAuthPriv && !priv)
        return resultUnsupportedLevel;

    const QByteArray name = s.securityName.toUtf8();
    cfg->securityName = strdup(name.constData());
    cfg->securityNameLen = static_cast<size_t>(name.size());
    cfg->securityModel = SNMP_SEC_MODEL_USM;
    cfg->securityLevel = level == levelNoAuth       ? SNMP_SEC_LEVEL_NOAUTH
                         : level == levelAuthNoPriv ? SNMP_SEC_LEVEL_AUTHNOPRIV
                                                    : SNMP_SEC_LEVEL_AUTHPRIV;
    if (level >= levelAuthNoPriv) {
        cfg->securityAuthProto = snmp_duplicate_objid(auth->id, auth->idLength);
        cfg->securityAuthProtoLen = auth->idLength;
        if (!setKey(userKey(*auth, s.authKey, s.authPassword), cfg->securityAuthKey,
                    sizeof cfg->securityAuthKey, &cfg->securityAuthKeyLen))
            return resultUsmError;
    }
    if (level == levelAuthPriv) {
        cfg->securityPrivProto = snmp_duplicate_objid(priv->id, priv->idLength);
        cfg->securityPrivProtoLen = priv->idLength;
        if (!setKey(userKey(*auth, s.privKey, s.privPassword), cfg->securityPrivKey,
                    sizeof cfg->securityPrivKey, &cfg->securityPrivKeyLen))
            return resultUsmError;
    }
    return 0;
}

// Frees what setUpUsm and the peer name allocated in a session template.
void releaseTemplate(netsnmp_session* cfg) {
    free(cfg->peername);
    free(cfg->community);
    free(cfg->securityName);
    free(cfg->securityAuthProto);
    free(cfg->securityPrivProto);
    cfg->peername = nullptr;
    cfg->community = nullptr;
    cfg->securityName = nullptr;
    cfg->securityAuthProto = nullptr;
    cfg->securityPrivProto = nullptr;
    // The session holds its own copy of the keys.
    explicit_bzero(cfg->securityAuthKey, sizeof cfg->securityAuthKey);
    explicit_bzero(cfg->securityPrivKey, sizeof cfg->securityPrivKey);
}

// The target of an exchange: the session for the target's parameters, opened on first use. A
// name is resolved once, when its session is opened.
Slot* Engine::BuildTarget(const Target& target, int* refusal) {
    const QString key = slotKey(target);
    if (auto it = slots_.find(key); it != slots_.end())
        return it->second.get();

    const std::optional<QHostAddress> address = resolveIPv4(target.device.address);
    if (!address)
        throw QvException(kBadAddress);

    const QvSNMPSecurity& s = target.security;
    netsnmp_session cfg;
    snmp_sess_init(&cfg);
    const QByteArray peer =
        QStringLiteral("udp:%1:%2").arg(address->toString()).arg(target.device.port).toLatin1();
    cfg.peername = strdup(peer.constData());
    cfg.timeout = static_cast<long>(target.timeout) * 10000L; // hundredths -> microseconds
    cfg.retries = target.retries;
    cfg.flags |= SNMP_FLAGS_DONT_PROBE;
    switch (s.version) {
    case 0:
    case 1: {
        cfg.version = s.version == 0 ? SNMP_VERSION_1 : SNMP_VERSION_2c;
        const QByteArray community = s.readCommunity.toUtf8();
        cfg.community = copyBytes(community);
        cfg.community_len = static_cast<size_t>(community.size());
        break;
    }
    case 3:
        cfg.version = SNMP_VERSION_3;
        if (const int result = setUpUsm(s, &cfg)) {
            releaseTemplate(&cfg);
            *refusal = result;
            return nullptr;
        }
        break;
    default:
        releaseTemplate(&cfg);
        *refusal = -16; // operation not supported on the target
        return nullptr;
    }

    void* session = snmp_sess_open(&cfg);
    const int openError = cfg.s_snmp_errno;
    releaseTemplate(&cfg);
    netsnmp_transport* transport = session ? snmp_sess_transport(session) : nullptr;
    if (!transport) {
        if (session)
            snmp_sess_close(session);
        *refusal = resultOfNetSnmpError(openError ? openError : SNMPERR_NO_SOCKET);
        return nullptr;
    }

    // net-snmp drops the flag once the session is open and would then discover an SNMPv3 engine
    // with a blocking exchange inside the first send. The discovery is ours, asynchronous.
    snmp_sess_session(session)->flags |= SNMP_FLAGS_DONT_PROBE;

    auto slot = std::make_unique<Slot>();
    slot->session = session;
    slot->socket = transport->sock;
    slot->address = *address;
    slot->port = target.device.port;
    slot->v3 = s.version == 3;
    slot->engineKnown = !slot->v3;
    Slot* raw = slot.get();
    slot->notifier = std::make_unique<QSocketNotifier>(slot->socket, QSocketNotifier::Read);
    connect(slot->notifier.get(), &QSocketNotifier::activated, this, [this, raw] { read(raw); });
    slots_.emplace(key, std::move(slot));
    return raw;
}

SendOutcome Engine::start(Slot* slot, PduPtr pdu, ExchangeHandler handler) {
    const ExchangeId id = nextId_++;
    Pending& p = pending_[id];
    p.slot = slot;
    p.handler = std::move(handler);
    p.pdu = std::move(pdu);
    if (slot->v3 && !slot->engineKnown) {
        slot->waitingForEngine.push_back(id);
        if (!slot->discovering)
            probe(slot);
        // A probe that could not even be sent has finished the exchange already.
        if (const auto it = pending_.find(id);
            it != pending_.end() && it->second.done && it->second.handler) {
            SendOutcome refused{0, std::move(it->second.result)};
            pending_.erase(it);
            ready_.erase(std::remove(ready_.begin(), ready_.end(), id), ready_.end());
            return refused;
        }
        return {id, {}};
    }
    if (!transmit(id) && pending_.at(id).handler) {
        SendOutcome refused{0, std::move(pending_.at(id).result)};
        pending_.erase(id);
        ready_.erase(std::remove(ready_.begin(), ready_.end(), id), ready_.end());
        return refused;
    }
    return {id, {}};
}

// net-snmp keeps one USM user per engine and name, shared by every session. Before a session
// sends, the entry is made from its own credentials when another session made it last.
bool Engine::claimUser(Slot* slot) {
    netsnmp_session* s = snmp_sess_session(slot->session);
    if (!slot->v3 || s->securityNameLen == 0 || s->securityEngineIDLen == 0)
        return true;
    const QByteArray key = QByteArray(reinterpret_cast<const char*>(s->securityEngineID),
                                      static_cast<qsizetype>(s->securityEngineIDLen)) +
                           '\0' +
                           QByteArray(s->securityName, static_cast<qsizetype>(s->securityNameLen));
    Slot*& owner = usmOwners_[key];
    if (owner == slot)
        return true;
    if (usmUser* user =
            usm_get_user(s->securityEngineID, s->securityEngineIDLen, s->securityName)) {
        usm_remove_user(user);
        usm_free_user(user);
    }
    s->flags &= ~SNMP_FLAGS_USER_CREATED;
    if (usm_create_user_from_session(s) != SNMPERR_SUCCESS) {
        owner = nullptr;
        return false;
    }
    owner = slot;
    return true;
}

bool Engine::transmit(ExchangeId id) {
    Pending& p = pending_.at(id);
    if (!claimUser(p.slot)) {
        finish(id, failure(resultUsmError));
        return false;
    }
    netsnmp_pdu* pdu = p.pdu.release();
    void* magic = reinterpret_cast<void*>(static_cast<quintptr>(id));
    if (!snmp_sess_async_send(p.slot->session, pdu, &onAnswer, magic)) {
        const int error = snmp_sess_session(p.slot->session)->s_snmp_errno;
        snmp_free_pdu(pdu);
        finish(id, failure(resultOfNetSnmpError(error ? error : SNMPERR_GENERR)));
        return false;
    }
    arm();
    return true;
}

// Asks an SNMPv3 agent for its engine ID: an unauthenticated GET without bindings, which the
// agent answers with an unknownEngineIDs report carrying the ID.
void Engine::probe(Slot* slot) {
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
    pdu->version = SNMP_VERSION_3;
    pdu->securityModel = SNMP_SEC_MODEL_USM;
    pdu->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    pdu->securityName = strdup("");
    pdu->securityNameLen = 0;
    slot->discovering = true;
    if (!snmp_sess_async_send(slot->session, pdu, &onProbeAnswer, slot)) {
        snmp_free_pdu(pdu);
        probeAnswered(slot, NETSNMP_CALLBACK_OP_SEND_FAILED, nullptr, nullptr);
        return;
    }
    arm();
}

void Engine::probeAnswered(Slot* slot, int op, netsnmp_session* session, netsnmp_pdu* pdu) {
    slot->discovering = false;
    int result = 0;
    if (op == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && session && pdu) {
        if (session->securityEngineIDLen == 0 && pdu->securityEngineIDLen > 0) {
            session->securityEngineID = static_cast<u_char*>(
                netsnmp_memdup(pdu->securityEngineID, pdu->securityEngineIDLen));
            session->securityEngineIDLen = pdu->securityEngineIDLen;
        }
        if (session->securityEngineIDLen == 0)
            result = resultInvalidEngineId;
    } else if (op == NETSNMP_CALLBACK_OP_TIMED_OUT) {
        result = resultTimeout;
    } else {
        const int error =
            session ? session->s_snmp_errno : snmp_sess_session(slot->session)->s_snmp_errno;
        result = resultOfNetSnmpError(error ? error : SNMPERR_GENERR);
    }
    slot->engineKnown = result == 0;
    std::deque<ExchangeId> waiting;
    waiting.swap(slot->waitingForEngine);
    for (const ExchangeId id : waiting) {
        if (!pending_.count(id))
            continue; // cancelled meanwhile
        if (result == 0) {
            transmit(id);
        } else {
            ExchangeResult r = failure(result);
            r.peerAddress = slot->address.toString();
            r.peerPort = slot->port;
            finish(id, std::move(r));
        }
    }
}

void Engine::answered(ExchangeId id, int op, netsnmp_session* session, netsnmp_pdu* pdu) {
    const auto it = pending_.find(id);
    if (it == pending_.end())
        return; // cancelled: the answer is dropped
    const Slot* slot = it->second.slot;
    ExchangeResult r;
    r.peerAddress = slot->address.toString();
    r.peerPort = slot->port;
    switch (op) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
        if (pdu->command == SNMP_MSG_REPORT) {
            r.result = resultOfNetSnmpError(snmpv3_get_report_type(pdu));
        } else {
            r.result = static_cast<int>(pdu->errstat);
            r.errorStatus = static_cast<int>(pdu->errstat);
            r.errorIndex = static_cast<int>(pdu->errindex);
            for (const netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable)
                r.varbinds.append(answerBinding(v));
        }
        // The printable peer "address/port", split at the "/".
        if (pdu->transport_data &&
            pdu->transport_data_length >= static_cast<int>(sizeof(sockaddr_in))) {
            const auto* sin = static_cast<const sockaddr_in*>(pdu->transport_data);
            if (sin->sin_family == AF_INET) {
                char text[INET_ADDRSTRLEN] = {};
                inet_ntop(AF_INET, &sin->sin_addr, text, sizeof text);
                const QString printable =
                    QStringLiteral("%1/%2").arg(QLatin1String(text)).arg(ntohs(sin->sin_port));
                const qsizetype slash = printable.indexOf(u'/');
                r.peerAddress = printable.left(slash);
                r.peerPort = static_cast<quint16>(printable.mid(slash + 1).toUInt());
            }
        }
        break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
        r.result = resultTimeout;
        break;
    default: {
        const int error = session ? session->s_snmp_errno : 0;
        r.result = resultOfNetSnmpError(error ? error : SNMPERR_GENERR);
        break;
    }
    }
    finish(id, std::move(r));
}

void Engine::finish(ExchangeId id, ExchangeResult result) {
    Pending& p = pending_.at(id);
    p.done = true;
    p.result = std::move(result);
    if (p.handler) {
        ready_.push_back(id);
        scheduleDelivery();
    }
}

ExchangeResult Engine::wait(ExchangeId id) {
    // A repaint between reads must not run an asynchronous answer's handler in the middle of
    // the caller's exchange: deliveries resume when the wait is over.
    ++waiting_;
    struct Done {
        int& count;
        ~Done() { --count; }
    } done{waiting_};
    constexpr long kRepaintSliceUs = 10000;
    constexpr auto kRepaintOnly = QEventLoop::ExcludeUserInputEvents |
                                  QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers;
    Slot* slot = pending_.at(id).slot;
    while (!pending_.at(id).done) {
        fd_set fds;
        FD_ZERO(&fds);
        int maxFd = 0;
        int block = 1;
        timeval tv{};
        snmp_sess_select_info(slot->session, &maxFd, &fds, &tv, &block);
        if (block) {
            // Nothing outstanding and no answer: cannot happen unless net-snmp lost the request.
            finish(id, failure(resultInternal));
            break;
        }
        const bool repaint = paintWhileWaiting_ > 0;
        if (repaint && (tv.tv_sec > 0 || tv.tv_usec > kRepaintSliceUs))
            tv = timeval{0, kRepaintSliceUs};
        const int n = select(maxFd, &fds, nullptr, nullptr, &tv);
        if (n > 0)
            snmp_sess_read(slot->session, &fds);
        else if (n == 0)
            snmp_sess_timeout(slot->session); // retransmits or times out only what is due
        else if (errno != EINTR) {
            finish(id, failure(resultInternal));
            break;
        }
        if (repaint && !pending_.at(id).done)
            QCoreApplication::processEvents(kRepaintOnly);
    }
    ExchangeResult result = std::move(pending_.at(id).result);
    pending_.erase(id);
    arm();
    if (!ready_.empty())
        scheduleDelivery();
    return result;
}

void Engine::cancel(ExchangeId id) {
    const auto it = pending_.find(id);
    if (it == pending_.end() || !it->second.handler)
        return;
    pending_.erase(it);
    ready_.erase(std::remove(ready_.begin(), ready_.end(), id), ready_.end());
}

int Engine::pendingCount() const {
    int count = 0;
    for (const auto& [id, p] : pending_) {
        if (p.handler)
            ++count;
    }
    return count;
}

void Engine::read(Slot* slot) {
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(slot->socket, &fds);
    snmp_sess_read(slot->session, &fds);
    arm();
}

void Engine::onTimer() {
    for (auto& [key, slot] : slots_)
        snmp_sess_timeout(slot->session);
    arm();
}

// The timer runs only while some exchange waits for an answer, until net-snmp's next deadline.
void Engine::arm() {
    std::optional<qint64> earliestMs;
    for (auto& [key, slot] : slots_) {
        fd_set fds;
        FD_ZERO(&fds);
        int maxFd = 0;
        int block = 1;
        timeval tv{};
        snmp_sess_select_info(slot->session, &maxFd, &fds, &tv, &block);
        if (block)
            continue;
        const qint64 ms = static_cast<qint64>(tv.tv_sec) * 1000 + (tv.tv_usec + 999) / 1000;
        if (!earliestMs || ms < *earliestMs)
            earliestMs = ms;
    }
    if (!earliestMs) {
        timer_->stop();
        return;
    }
    timer_->start(static_cast<int>(std::min<qint64>(*earliestMs, 24 * 3600 * 1000)));
}

void Engine::scheduleDelivery() {
    if (deliveryScheduled_)
        return;
    deliveryScheduled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { deliver(); }, Qt::QueuedConnection);
}

// One delivery at a time: a handler that processes events while it runs (a nested event loop)
// does not start the next one; the loop below picks it up when the handler returns.
void Engine::deliver() {
    deliveryScheduled_ = false;
    if (delivering_ || waiting_ > 0)
        return;
    delivering_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{delivering_};
    while (!ready_.empty()) {
        const ExchangeId id = ready_.front();
        ready_.pop_front();
        const auto it = pending_.find(id);
        if (it == pending_.end())
            continue;
        ExchangeHandler handler = std::move(it->second.handler);
        const ExchangeResult result = std::move(it->second.result);
        pending_.erase(it);
        try {
            handler(result);
        } catch (const std::exception& e) {
            // Nothing above the event loop could take it; the next answers are still delivered.
            qWarning("SNMP answer handler failed: %s", e.what());
        }
    }
}

// net-snmp also reports retransmissions, connection events of stream transports and a security
// fault of an incoming message (followed by the message itself when it is a report, else by the
// time-out): only a received message, a time-out or a send failure ends an exchange.
bool endsExchange(int op) {
    return op == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE || op == NETSNMP_CALLBACK_OP_TIMED_OUT ||
           op == NETSNMP_CALLBACK_OP_SEND_FAILED;
}

int onAnswer(int op, netsnmp_session* session, int, netsnmp_pdu* pdu, void* magic) {
    if (!endsExchange(op))
        return 1;
    if (Engine* e = enginePointer())
        e->answered(static_cast<ExchangeId>(reinterpret_cast<quintptr>(magic)), op, session, pdu);
    return 1;
}

int onProbeAnswer(int op, netsnmp_session* session, int, netsnmp_pdu* pdu, void* magic) {
    if (!endsExchange(op))
        return 1;
    if (Engine* e = enginePointer())
        e->probeAnswered(static_cast<Slot*>(magic), op, session, pdu);
    return 1;
}

// Security level, context name and context engine ID (SNMPv3), or the community (read for gets,
// write for sets), before the bindings are added.
void PreparePdu(const Target& target, PduKind kind, netsnmp_pdu* pdu) {
    const QvSNMPSecurity& s = target.security;
    if (s.version == 3) {
        pdu->securityLevel = s.securityLevel == levelNoAuth       ? SNMP_SEC_LEVEL_NOAUTH
                             : s.securityLevel == levelAuthNoPriv ? SNMP_SEC_LEVEL_AUTHNOPRIV
                                                                  : SNMP_SEC_LEVEL_AUTHPRIV;
        const QByteArray contextName = target.scope.contextName.toUtf8();
        pdu->contextName = reinterpret_cast<char*>(copyBytes(contextName));
        pdu->contextNameLen = static_cast<size_t>(contextName.size());
        const QByteArray contextEngine = engineIdBytes(target.scope.contextEngineId);
        if (!contextEngine.isEmpty()) {
            pdu->contextEngineID = copyBytes(contextEngine);
            pdu->contextEngineIDLen = static_cast<size_t>(contextEngine.size());
        }
    } else {
        const QByteArray community =
            (kind == PduKind::Set ? s.writeCommunity : s.readCommunity).toUtf8();
        pdu->community = copyBytes(community);
        pdu->community_len = static_cast<size_t>(community.size());
    }
}

// The PDU of one exchange; null (and `refusal` set) when a binding cannot be encoded.
PduPtr buildPdu(const Target& target, PduKind kind, const QList<VarBind>& varbinds, int* refusal) {
    const int command = kind == PduKind::Get       ? SNMP_MSG_GET
                        : kind == PduKind::GetNext ? SNMP_MSG_GETNEXT
                                                   : SNMP_MSG_SET;
    PduPtr pdu(snmp_pdu_create(command));
    PreparePdu(target, kind, pdu.get());
    for (const VarBind& vb : varbinds) {
        if (!addBinding(pdu.get(), vb, kind == PduKind::Set, refusal))
            return nullptr;
    }
    return pdu;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Public functions

Target sessionTarget() {
    Target t;
    t.device = sessionDevice();
    t.scope = sessionScope();
    t.security = sessionSecurity();
    t.timeout = defaultTimeout();
    t.retries = 1;
    return t;
}

QString oidText(const QList<quint32>& arcs) {
    QString text;
    for (qsizetype i = 0; i < arcs.size(); ++i) {
        if (i)
            text += u'.';
        text += QString::number(arcs[i]);
    }
    return text;
}

bool parseOid(const QString& text, QList<quint32>* arcs) {
    arcs->clear();
    QStringView rest(text);
    if (rest.startsWith(u'.'))
        rest = rest.mid(1);
    if (rest.isEmpty())
        return false;
    for (const QStringView part : rest.split(u'.')) {
        bool ok = false;
        const qulonglong value = part.toULongLong(&ok);
        if (!ok || part.isEmpty() || !part.front().isDigit() || value > 0xffffffffu)
            return false;
        arcs->append(static_cast<quint32>(value));
    }
    return arcs->size() >= 2;
}

ExchangeResult exchange(const Target& target, PduKind kind, const QList<VarBind>& varbinds) {
    Engine& e = engine();
    int refusal = 0;
    Slot* slot = e.BuildTarget(target, &refusal);
    if (!slot)
        return failure(refusal);
    PduPtr pdu = buildPdu(target, kind, varbinds, &refusal);
    if (!pdu)
        return failure(refusal);
    const SendOutcome sent = e.start(slot, std::move(pdu), {});
    return e.wait(sent.id);
}

SendOutcome sendAsync(const Target& target, PduKind kind, const QList<VarBind>& varbinds,
                      ExchangeHandler handler) {
    Engine& e = engine();
    int refusal = 0;
    Slot* slot = e.BuildTarget(target, &refusal);
    if (!slot)
        return {0, failure(refusal)};
    PduPtr pdu = buildPdu(target, kind, varbinds, &refusal);
    if (!pdu)
        return {0, failure(refusal)};
    if (!handler)
        handler = [](const ExchangeResult&) {};
    return e.start(slot, std::move(pdu), std::move(handler));
}

void cancelExchange(ExchangeId id) {
    if (Engine* e = enginePointer())
        e->cancel(id);
}

PaintWhileWaiting::PaintWhileWaiting() {
    ++engine().paintWhileWaiting();
}

PaintWhileWaiting::~PaintWhileWaiting() {
    if (Engine* e = enginePointer())
        --e->paintWhileWaiting();
}

int pendingExchanges() {
    const Engine* e = enginePointer();
    return e ? e->pendingCount() : 0;
}

bool handlingAnswer() {
    const Engine* e = enginePointer();
    return e && e->delivering();
}

namespace detail {

bool startEngine() {
    engine();
    // A client endpoint that cannot be opened means no exchange will ever be possible.
    netsnmp_transport* probe = netsnmp_transport_open_client("snmp", "udp:127.0.0.1:161");
    if (!probe)
        return false;
    netsnmp_transport_free(probe);
    return true;
}

void setLocalEngine(const QByteArray& engineId, int bootCount) {
    engine();
    set_exact_engineID(reinterpret_cast<const u_char*>(engineId.constData()),
                       static_cast<size_t>(engineId.size()));
    // The handler of the persistent "engineBoots" line stores the count read plus one.
    QByteArray previous = QByteArray::number(bootCount - 1);
    engineBoots_conf("engineBoots", previous.data());
}

QByteArray localEngineId() {
    u_char buffer[64] = {};
    const size_t length = snmpv3_get_engineID(buffer, sizeof buffer);
    return QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(length));
}

int localBootCount() {
    return static_cast<int>(snmpv3_local_snmpEngineBoots());
}

} // namespace detail

void makeUserKeys(QvSNMPSecurity& security) {
    initNetSnmp();
    if (const Transform* auth = findTransform(authTransforms, security.authProtocol)) {
        security.authKey = passPhraseKey(*auth, security.authPassword);
        security.privKey = passPhraseKey(*auth, security.privPassword);
    }
    platform::wipe(security.authPassword);
    platform::wipe(security.privPassword);
}

} // namespace qv
