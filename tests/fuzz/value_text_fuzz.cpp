// Value texts and raw values of every syntax, in both directions, parts and bits of raw values,
// the text readers of the request engine, and option lists. Input: the first byte picks the
// syntax, the second an offset or bit index, the rest is a raw value and, read as UTF-8, a text.
#include "snmplib/option_list.h"
#include "snmplib/qv_exception.h"
#include "snmplib/value_format.h"
#include "tests/fuzz/fuzz_support.h"

#include <array>

namespace {

using namespace QvSyntax;
constexpr std::array<int, 25> kSyntaxes{
    boolean,    integer, bitstr,   octetstr,  null,     objectid, ipaddress,  counter,  guage,
    timeticks,  opaque,  nsapaddr, counter64, uinteger, double_,  macaddress, datetime, bcdatetime,
    displaystr, bool8,   int8,     uint8,     bool16,   int16,    uint16};

// Syntaxes whose text form carries the whole raw value: text and back give the same bytes when
// the raw value has the length named (0: any non-empty length, -4: a multiple of 4).
int roundTripLength(int syntax) {
    switch (syntax) {
    case integer:
    case counter:
    case guage:
    case uinteger:
    case timeticks:
    case ipaddress:
    case nsapaddr:
        return 4;
    case counter64:
        return 8;
    case macaddress:
        return 6;
    case bitstr:
    case octetstr:
    case opaque:
        return 0;
    case objectid:
        return -4;
    case int8:
    case uint8:
        return 1;
    case int16:
    case uint16:
        return 2;
    default:
        return -1; // not checked
    }
}

bool roundTrips(int syntax, qsizetype size) {
    const int length = roundTripLength(syntax);
    if (length == 0)
        return size > 0;
    if (length == -4)
        return size > 0 && size % 4 == 0;
    return length > 0 && size == length;
}

const QvOptionSource kNumbers[] = {{4, "Disable"}, {1, "Enable"}, {-1, "(NULL)"}, {0, ""}};
const QvOptionTextSource kTexts[] = {{"1.3.6.1.2.1", "mib-2"}, {"", "empty"}, {"a", "A"}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::start();
    if (size < 2)
        return 0;
    const int syntax = data[0] < kSyntaxes.size() ? kSyntaxes[data[0]] : data[0];
    const int index = data[1];
    const QByteArray raw(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
    const QString text = QString::fromUtf8(raw);

    // Raw value -> text -> raw value.
    try {
        const QString shown = qv::RawToText(raw, syntax);
        const QByteArray back = qv::TextToRaw(shown, syntax);
        if (roundTrips(syntax, raw.size()))
            KW_FUZZ_CHECK(back == raw);
    } catch (const QvException&) {
    }
    // Text -> raw value -> text.
    try {
        (void)qv::RawToText(qv::TextToRaw(text, syntax), syntax);
    } catch (const QvException&) {
    }
    // Parts and bits.
    try {
        const QByteArray part = qv::ExtractPartial(raw, index, syntax);
        QByteArray whole = raw;
        qv::PutPartial(whole, index, part);
        KW_FUZZ_CHECK(whole.size() >= raw.size());
    } catch (const QvException&) {
    }
    try {
        const bool on = qv::RawBit(raw, index);
        QByteArray changed = raw;
        qv::SetRawBit(changed, index, !on);
        KW_FUZZ_CHECK(qv::RawBit(changed, index) == !on);
    } catch (const QvException&) {
    }
    // The readers the request engine and the expressions use.
    (void)qv::LeadingNumber(text);
    (void)qv::LeadingDouble(text);
    (void)qv::TimeticksFromText(text);
    try {
        (void)qv::OidText(qv::OidFromText(text));
    } catch (const QvException&) {
    }
    try {
        (void)qv::BcDateTimeText(qv::BcDateTimeFromText(text));
    } catch (const QvException&) {
    }
    // Option lists of the three kinds, both directions.
    const QvOptionList numbers(kNumbers, QvOptionList::IntegerValues, index % 2 == 0);
    const QvOptionList texts(kTexts, QvOptionList::StringValues, index % 2 == 0);
    const QvOptionList prefixes(kTexts, QvOptionList::PrefixValues, index % 2 == 0);
    for (const QvOptionList* list : {&numbers, &texts, &prefixes}) {
        (void)list->LabelToValue(list->ValueToLabel(text));
        (void)list->FindLabel(text);
        (void)list->FindValue(text);
    }
    return 0;
}
