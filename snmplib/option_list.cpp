#include "snmplib/option_list.h"

#include "snmplib/syntax.h"

#include <map>
#include <memory>

namespace {

// A source table ends at its last element or at the first pair without label.
template <class Pair> std::span<const Pair> untilEnd(std::span<const Pair> source) {
    size_t n = 0;
    while (n < source.size() && source[n].label != nullptr)
        ++n;
    return source.first(n);
}

constexpr QvOptionSource kListKinds[] = {
    {SVT_SV, "SVT_SV"},
    {MVT_SV, "MVT_SV"},
    {MVT_FMV, "MVT_FMV"},
    {MVT_UMV, "MVT_UMV"},
};

constexpr QvOptionSource kSyntaxNames[] = {
    {QvSyntax::boolean, "boolean"},
    {QvSyntax::integer, "integer"},
    {QvSyntax::bitstr, "bitstr"},
    {QvSyntax::octetstr, "octetstr"},
    {QvSyntax::null, "null"},
    {QvSyntax::objectid, "objectid"},
    {QvSyntax::ipaddress, "ipaddress"},
    {QvSyntax::counter, "counter"},
    {QvSyntax::guage, "guage"},
    {QvSyntax::timeticks, "timeticks"},
    {QvSyntax::opaque, "opaque"},
    {QvSyntax::nsapaddr, "nsapaddr"},
    {QvSyntax::counter64, "counter64"},
    {QvSyntax::uinteger, "uinteger"},
    {QvSyntax::double_, "double"},
    {QvSyntax::macaddress, "macaddress"},
    {QvSyntax::datetime, "datetime"},
    {QvSyntax::bcdatetime, "bcdatetime"},
    {QvSyntax::displaystr, "displaystr"},
    {QvSyntax::bool8, "bool8"},
    {QvSyntax::int8, "int8"},
    {QvSyntax::uint8, "uint8"},
    {QvSyntax::bool16, "bool16"},
    {QvSyntax::int16, "int16"},
    {QvSyntax::uint16, "uint16"},
};

constexpr QvOptionSource kAccessNames[] = {
    {QvAccess::notaccess, "notaccess"}, {QvAccess::readonly, "readonly"},
    {QvAccess::writeonly, "writeonly"}, {QvAccess::readwrite, "readwrite"},
    {QvAccess::derived, "derived"},     {QvAccess::hidden, "hidden"},
    {QvAccess::invalid, "invalid"},
};

} // namespace

QvOptionList::QvOptionList(int kind, bool caseSensitive)
    : kind_(kind), caseSensitive_(caseSensitive) {}

QvOptionList::QvOptionList(std::span<const QvOptionSource> source, int kind, bool caseSensitive)
    : QvOptionList(kind, caseSensitive) {
    AddItems(source);
}

QvOptionList::QvOptionList(std::span<const QvOptionTextSource> source, int kind, bool caseSensitive)
    : QvOptionList(kind, caseSensitive) {
    AddItems(source);
}

void QvOptionList::AddItems(std::span<const QvOptionSource> source) {
    const auto pairs = untilEnd(source);
    items_.reserve(items_.size() + pairs.size());
    for (const QvOptionSource& p : pairs)
        items_.push_back({p.value, QString::number(p.value), QString::fromUtf8(p.label)});
}

void QvOptionList::AddItems(std::span<const QvOptionTextSource> source) {
    const auto pairs = untilEnd(source);
    items_.reserve(items_.size() + pairs.size());
    for (const QvOptionTextSource& p : pairs) {
        const QString value = QString::fromUtf8(p.value);
        items_.push_back({value.toInt(), value, QString::fromUtf8(p.label)});
    }
}

void QvOptionList::Clear() {
    items_.clear();
}

bool QvOptionList::matches(const QString& itemText, const QString& text) const {
    const Qt::CaseSensitivity cs = caseSensitive_ ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (kind_ == PrefixValues)
        return text.startsWith(itemText, cs);
    return itemText.compare(text, cs) == 0;
}

int QvOptionList::findText(const QString& text, QString Item::*field) const {
    for (int i = 0; i < Count(); ++i) {
        if (matches(items_[static_cast<size_t>(i)].*field, text))
            return i;
    }
    return -1;
}

int QvOptionList::FindLabel(const QString& text) const {
    return findText(text, &Item::label);
}

int QvOptionList::FindValue(const QString& text) const {
    if (kind_ != IntegerValues)
        return findText(text, &Item::text);
    if (text == qv::kNullValue)
        return -1;
    bool ok = false;
    const qint32 number = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return -1;
    for (int i = 0; i < Count(); ++i) {
        if (items_[static_cast<size_t>(i)].number == number)
            return i;
    }
    return -1;
}

QString QvOptionList::ValueToLabel(const QString& text) const {
    const int i = FindValue(text);
    if (i < 0)
        return text;
    const Item& item = items_[static_cast<size_t>(i)];
    if (kind_ == PrefixValues)
        return item.label + text.mid(item.text.size());
    return item.label;
}

QString QvOptionList::LabelToValue(const QString& text) const {
    const int i = FindLabel(text);
    if (i < 0)
        return text;
    const Item& item = items_[static_cast<size_t>(i)];
    if (kind_ == PrefixValues)
        return item.text + text.mid(item.label.size());
    return ValueText(i);
}

QString QvOptionList::ValueText(int index) const {
    const Item& item = ItemAt(index);
    return kind_ == IntegerValues ? QString::number(item.number) : item.text;
}

QStringList QvOptionList::Labels() const {
    QStringList labels;
    labels.reserve(Count());
    for (const Item& item : items_)
        labels.append(item.label);
    return labels;
}

int QvOptionList::SelectionIndex(const QString& text) const {
    const int byLabel = FindLabel(text);
    return byLabel >= 0 ? byLabel : FindValue(text);
}

namespace qv {

const QvOptionList& GlobalOptionList(std::span<const QvOptionSource> source) {
    // One list per source table for the life of the process; the UI thread is the only caller.
    static std::map<const QvOptionSource*, std::unique_ptr<const QvOptionList>> lists;
    auto& slot = lists[source.data()];
    if (!slot)
        slot = std::make_unique<const QvOptionList>(source, QvOptionList::IntegerValues, false);
    return *slot;
}

const QvOptionList& ListKindOptions() {
    return GlobalOptionList(kListKinds);
}

const QvOptionList& SyntaxOptions() {
    return GlobalOptionList(kSyntaxNames);
}

const QvOptionList& AccessOptions() {
    return GlobalOptionList(kAccessNames);
}

bool IsKnownSyntax(int syntax) {
    for (const QvOptionSource& p : kSyntaxNames) {
        if (p.value == syntax)
            return true;
    }
    return false;
}

QString SyntaxName(int syntax) {
    for (const QvOptionSource& p : kSyntaxNames) {
        if (p.value == syntax)
            return QString::fromLatin1(p.label);
    }
    return {};
}

int SyntaxCode(const QString& name) {
    for (const QvOptionSource& p : kSyntaxNames) {
        if (name == QLatin1String(p.label))
            return p.value;
    }
    return -1;
}

} // namespace qv
