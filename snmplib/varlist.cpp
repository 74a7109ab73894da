#include "snmplib/varlist.h"

#include "snmplib/qv_exception.h"
#include "snmplib/value_format.h"

#include "snmplib/error_codes.h"
#include <map>
#include <QStringList>

using namespace qv::code;

namespace {

std::optional<QString> optionalText(const char* text) {
    if (text == nullptr)
        return std::nullopt;
    return QString::fromUtf8(text);
}

// "devMib.2.1" -> the private root followed by ".2.1"; other OIDs as they are.
QString expandOid(const char* oid) {
    const QString text = QString::fromUtf8(oid);
    for (const auto& [symbol, root] :
         {std::pair{"devMib", qv::kDevMib}, std::pair{"devProduct", qv::kDevProduct}}) {
        const QString prefix = QLatin1String(symbol);
        if (text == prefix)
            return QLatin1String(root);
        if (text.startsWith(prefix + u'.'))
            return QLatin1String(root) + text.mid(prefix.size());
    }
    return text;
}

// A sub-identifier that codes one byte.
char arcByte(quint32 arc) {
    if (arc > 255)
        throw QvException(kBadValue);
    return static_cast<char>(arc);
}

QByteArray arcBytes(std::span<const quint32> arcs) {
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(arcs.size()));
    for (quint32 arc : arcs)
        bytes.append(arcByte(arc));
    return bytes;
}

void appendBytes(std::vector<quint32>& arcs, const QByteArray& bytes) {
    for (char c : bytes)
        arcs.push_back(static_cast<quint8>(c));
}

} // namespace

QvSNMPVarList::QvSNMPVarList() = default;

QvSNMPVarList::QvSNMPVarList(std::span<const QvSNMPVarDef> table, quint8 itemType, int pKeyCount)
    : PKeyCount(pKeyCount), ItemType(itemType) {
    AppendTable(table);
}

QvSNMPVarList::QvSNMPVarList(const QvSNMPVarList& other) {
    Assign(other);
}

QvSNMPVarList& QvSNMPVarList::operator=(const QvSNMPVarList& other) {
    Assign(other);
    return *this;
}

QvSNMPVarList::~QvSNMPVarList() = default;

void QvSNMPVarList::AppendTable(std::span<const QvSNMPVarDef> table) {
    size_t n = 0;
    while (n < table.size() && table[n].oid != nullptr)
        ++n;
    items_.reserve(items_.size() + n);
    for (const QvSNMPVarDef& def : table.first(n)) {
        QvSNMPVar var;
        var.oid = expandOid(def.oid);
        var.name = QString::fromUtf8(def.name);
        var.syntax = def.syntax;
        var.access = def.access;
        if (!def.options.empty())
            var.optionList = &qv::GlobalOptionList(def.options);
        var.getExpression = optionalText(def.getExpression);
        var.setExpression = optionalText(def.setExpression);
        var.spare = optionalText(def.spare);
        items_.push_back(std::move(var));
    }
}

void QvSNMPVarList::Assign(const QvSNMPVarList& other) {
    if (&other == this)
        return;
    items_.clear();
    ownedOptionLists_.clear();
    ItemType = other.ItemType;
    PKeyCount = other.PKeyCount;
    // Items that refer to a list the other one owns refer to this list's copy of it.
    std::map<const QvOptionList*, const QvOptionList*> copies;
    for (const auto& list : other.ownedOptionLists_)
        copies[list.get()] = AddOwnedOptionList(std::make_unique<QvOptionList>(*list));
    items_ = other.items_;
    for (QvSNMPVar& var : items_) {
        const auto copy = copies.find(var.optionList);
        if (copy != copies.end())
            var.optionList = copy->second;
    }
}

QvOptionList* QvSNMPVarList::AddOwnedOptionList(std::unique_ptr<QvOptionList> list) {
    ownedOptionLists_.push_back(std::move(list));
    return ownedOptionLists_.back().get();
}

bool QvSNMPVarList::IsImplied(int index) const {
    return item(index).has(QvAccess::implied);
}

bool QvSNMPVarList::readable(int index) const {
    const QvSNMPVar& v = item(index);
    return !v.has(QvAccess::invalid) && v.has(QvAccess::readonly);
}

bool QvSNMPVarList::settable(int index) const {
    const QvSNMPVar& v = item(index);
    return !v.has(QvAccess::invalid) && (v.has(QvAccess::writeonly) || isKey(index));
}

bool QvSNMPVarList::shownColumn(int index) const {
    const QvSNMPVar& v = item(index);
    return !v.has(QvAccess::invalid | QvAccess::hidden) &&
           v.has(QvAccess::notaccess | QvAccess::readonly | QvAccess::derived);
}

bool QvSNMPVarList::hiddenColumn(int index) const {
    const QvSNMPVar& v = item(index);
    return v.access == QvAccess::writeonly || v.has(QvAccess::invalid | QvAccess::hidden);
}

int QvSNMPVarList::CountShown() const {
    int n = 0;
    for (int i = 0; i < count(); ++i)
        n += shownColumn(i) ? 1 : 0;
    return n;
}

int QvSNMPVarList::CountHidden() const {
    int n = 0;
    for (int i = 0; i < count(); ++i)
        n += hiddenColumn(i) ? 1 : 0;
    return n;
}

QString QvSNMPVarList::BaseOid(int index) const {
    const QString& oid = item(index).oid;
    return Name.isEmpty() ? oid : oid + u'.' + Name;
}

QString QvSNMPVarList::DecodeKey(int k, const QString& instance) {
    if (k < 0 || k >= PKeyCount || k >= count())
        throw QvException(kBadKeyCount);
    QvSNMPVar& key = item(k);
    const std::vector<quint32> arcs = qv::OidFromText(instance);
    const std::span<const quint32> all(arcs);
    if (arcs.empty() && key.syntax != QvSyntax::null)
        throw QvException(kBadKeyCount);
    // The first n sub-identifiers, or -514 when the instance runs out before.
    auto take = [&](size_t n) {
        if (n > all.size())
            throw QvException(kBadKeyCount);
        return all.first(n);
    };
    const bool lengthLeftOut = k == PKeyCount - 1 && IsImplied(k);
    size_t used = 0;
    QString text;
    switch (key.syntax) {
    case QvSyntax::boolean:
        used = 1;
        text = take(1)[0] != 0 ? QStringLiteral("true") : QStringLiteral("false");
        break;
    case QvSyntax::integer:
    case QvSyntax::counter:
    case QvSyntax::guage:
    case QvSyntax::uinteger:
    case QvSyntax::timeticks:
        used = 1;
        text = qv::RawToText(qv::RawFromUInt32(take(1)[0]), key.syntax);
        break;
    case QvSyntax::ipaddress:
    case QvSyntax::nsapaddr:
        used = 4;
        text = qv::RawToText(arcBytes(take(4)), key.syntax);
        break;
    case QvSyntax::counter64: {
        used = 2;
        const auto a = take(2);
        text = QString::number((quint64{a[0]} << 32) | a[1]);
        break;
    }
    case QvSyntax::double_:
    case QvSyntax::bcdatetime: {
        used = 2;
        const auto a = take(2); // low 32 bits first
        text = qv::RawToText(qv::RawFromUInt64((quint64{a[1]} << 32) | a[0]), key.syntax);
        break;
    }
    case QvSyntax::macaddress:
        used = 6;
        text = qv::RawToText(arcBytes(take(6)), key.syntax);
        break;
    case QvSyntax::datetime:
        used = 11;
        text = qv::RawToText(arcBytes(take(11)), key.syntax);
        break;
    case QvSyntax::bitstr:
    case QvSyntax::octetstr:
    case QvSyntax::opaque:
    case QvSyntax::displaystr:
    case QvSyntax::objectid: {
        std::span<const quint32> body;
        if (lengthLeftOut) {
            body = all;
            used = all.size();
        } else {
            const quint32 length = take(1)[0];
            if (length > all.size() - 1)
                throw QvException(kBadKeyCount);
            body = all.subspan(1, length);
            used = 1 + length;
        }
        text = key.syntax == QvSyntax::objectid ? qv::OidText(body)
                                                : qv::RawToText(arcBytes(body), key.syntax);
        break;
    }
    case QvSyntax::null:
        text = qv::kNullValue;
        break;
    default:
        throw QvException(kBadSyntax);
    }
    key.value = key.optionList != nullptr ? key.optionList->ValueToLabel(text) : text;
    return qv::OidText(all.subspan(used));
}

QString QvSNMPVarList::EncodeKey(int k) const {
    if (k < 0 || k >= PKeyCount || k >= count())
        throw QvException(kBadKeyCount);
    const QvSNMPVar& key = item(k);
    const QString text =
        key.optionList != nullptr ? key.optionList->LabelToValue(key.value) : key.value;
    const bool lengthLeftOut = k == PKeyCount - 1 && IsImplied(k);
    std::vector<quint32> arcs;
    switch (key.syntax) {
    case QvSyntax::boolean:
        arcs.push_back(text == QLatin1String("true") ? 1 : 0);
        break;
    case QvSyntax::integer:
    case QvSyntax::counter:
    case QvSyntax::guage:
    case QvSyntax::uinteger:
    case QvSyntax::timeticks:
        arcs.push_back(qv::RawToUInt32(qv::TextToRaw(text, key.syntax)));
        break;
    case QvSyntax::ipaddress:
    case QvSyntax::nsapaddr:
    case QvSyntax::macaddress:
    case QvSyntax::datetime: {
        const QByteArray raw = qv::TextToRaw(text, key.syntax);
        const int length = qv::PartialLength(key.syntax);
        if (raw.size() < length)
            throw QvException(kBadValue);
        appendBytes(arcs, raw.left(length));
        break;
    }
    case QvSyntax::counter64: {
        const quint64 value = qv::RawToUInt64(qv::TextToRaw(text, key.syntax));
        arcs.push_back(static_cast<quint32>(value >> 32));
        arcs.push_back(static_cast<quint32>(value));
        break;
    }
    case QvSyntax::double_:
    case QvSyntax::bcdatetime: {
        const quint64 value = qv::RawToUInt64(qv::TextToRaw(text, key.syntax));
        arcs.push_back(static_cast<quint32>(value)); // low 32 bits first
        arcs.push_back(static_cast<quint32>(value >> 32));
        break;
    }
    case QvSyntax::bitstr:
    case QvSyntax::octetstr:
    case QvSyntax::opaque:
    case QvSyntax::displaystr:
    case QvSyntax::objectid: {
        std::vector<quint32> body;
        if (key.syntax == QvSyntax::objectid)
            body = qv::OidFromText(text == qv::kNullValue ? QString() : text);
        else
            appendBytes(body, qv::TextToRaw(text, key.syntax));
        if (!lengthLeftOut)
            arcs.push_back(static_cast<quint32>(body.size()));
        arcs.insert(arcs.end(), body.begin(), body.end());
        break;
    }
    case QvSyntax::null:
        break;
    default:
        throw QvException(kBadSyntax);
    }
    return qv::OidText(arcs);
}

void QvSNMPVarList::DecodeInstance(const QString& instance) {
    QString rest = instance;
    for (int k = 0; k < PKeyCount; ++k) {
        rest = DecodeKey(k, rest);
        if (!readable(k))
            item(k).walkPosition = BaseOid(k) + u'.' + instance;
    }
}

QString QvSNMPVarList::EncodeInstance() const {
    QStringList codings;
    for (int k = 0; k < PKeyCount; ++k) {
        const QString coding = EncodeKey(k);
        if (!coding.isEmpty())
            codings.append(coding);
    }
    return codings.join(u'.');
}
