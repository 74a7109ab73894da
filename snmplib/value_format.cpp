#include "snmplib/value_format.h"

#include "snmplib/datetime.h"
#include "snmplib/qv_exception.h"
#include "snmplib/syntax.h"

#include "snmplib/error_codes.h"
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <QDate>
#include <QStringDecoder>
#include <QtEndian>

using namespace qv::code;

namespace qv {

namespace {

const QDate kDayZero(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;

[[noreturn]] void fail(int code) {
    throw QvException(code);
}

int skipBlanks(const QString& text, int pos) {
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    return pos;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Unsigned decimal digits at pos (at least one); moves pos past them. Saturates.
bool readDigits(const QString& text, int& pos, quint64& value) {
    const int start = pos;
    value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        const quint64 digit = text[pos].unicode() - u'0';
        value = value > (std::numeric_limits<quint64>::max() - digit) / 10
                    ? std::numeric_limits<quint64>::max()
                    : value * 10 + digit;
        ++pos;
    }
    return pos > start;
}

QByteArray littleEndian(quint64 value, int bytes) {
    QByteArray raw(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        raw[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return raw;
}

QByteArray bigEndian16(quint16 value) {
    QByteArray raw(2, '\0');
    raw[0] = static_cast<char>(value >> 8);
    raw[1] = static_cast<char>(value & 0xFF);
    return raw;
}

quint8 byteAt(const QByteArray& raw, int i) {
    return static_cast<quint8>(raw[i]);
}

QString hexText(const QByteArray& raw) {
    return QString::fromLatin1(raw.toHex().toUpper());
}

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return 0; // anything else counts as 0
}

// Blanks dropped; an odd count makes the first character a byte of its own.
QByteArray hexBytes(const QString& text) {
    QString digits;
    digits.reserve(text.size());
    for (QChar c : text) {
        if (!c.isSpace())
            digits.append(c);
    }
    QByteArray raw;
    int pos = 0;
    if (digits.size() % 2 == 1) {
        raw.append(static_cast<char>(hexDigit(digits[0])));
        pos = 1;
    }
    for (; pos + 1 < digits.size(); pos += 2)
        raw.append(static_cast<char>(hexDigit(digits[pos]) * 16 + hexDigit(digits[pos + 1])));
    return raw;
}

QString displayText(const QByteArray& raw) {
    const qsizetype zero = raw.indexOf('\0');
    const QByteArray chars = zero < 0 ? raw : raw.left(zero);
    // Devices send UTF-8 or plain ASCII; other bytes are shown one character per byte.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(chars);
    if (utf8.hasError())
        return QString::fromLatin1(chars);
    return text;
}

// Exactly four numbers 0..255 joined by dots; a shorter or longer address is refused rather
// than sent truncated.
QByteArray ipAddressBytes(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QByteArray raw;
    int pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= t.size() || t[pos] != u'.')
                fail(kBadValue);
            ++pos;
        }
        quint64 value = 0;
        const int start = pos;
        if (!readDigits(t, pos, value) || pos - start > 3 || value > 255)
            fail(kBadValue);
        raw.append(static_cast<char>(value));
    }
    if (pos != t.size())
        fail(kBadValue);
    return raw;
}

bool isTrue(const QString& text) {
    return text == QLatin1String("true");
}

QString boolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

void needBytes(const QByteArray& raw, int n) {
    if (raw.size() < n)
        fail(kBadValue);
}

quint64 counter64FromText(const QString& text) {
    const QByteArray latin = text.trimmed().toLatin1();
    const char* first = latin.constData();
    const char* last = first + latin.size();
    if (first != last && *first == '+')
        ++first;
    long double value = 0;
    if (std::from_chars(first, last, value).ec != std::errc{})
        return 0;
    if (!(value > 0)) // negative, zero and not-a-number
        return 0;
    if (value >= 18446744073709551616.0L)
        return std::numeric_limits<quint64>::max();
    return static_cast<quint64>(value);
}

} // namespace

// --- numbers in the raw layout -------------------------------------------------------------

QByteArray RawFromUInt32(quint32 value) {
    return littleEndian(value, 4);
}

quint32 RawToUInt32(const QByteArray& raw) {
    needBytes(raw, 4);
    return qFromLittleEndian<quint32>(raw.constData());
}

qint32 RawToInt32(const QByteArray& raw) {
    return static_cast<qint32>(RawToUInt32(raw));
}

QByteArray RawFromUInt64(quint64 value) {
    return littleEndian(value, 8);
}

quint64 RawToUInt64(const QByteArray& raw) {
    needBytes(raw, 8);
    return qFromLittleEndian<quint64>(raw.constData());
}

QByteArray RawFromDouble(double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return RawFromUInt64(bits);
}

double RawToDouble(const QByteArray& raw) {
    const quint64 bits = RawToUInt64(raw);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray RawFromOid(std::span<const quint32> arcs) {
    QByteArray raw;
    raw.reserve(static_cast<qsizetype>(arcs.size() * 4));
    for (quint32 arc : arcs)
        raw.append(RawFromUInt32(arc));
    return raw;
}

std::vector<quint32> RawToOid(const QByteArray& raw) {
    std::vector<quint32> arcs;
    for (int i = 0; i < raw.size(); i += 4) {
        QByteArray group = raw.mid(i, 4);
        group.append(QByteArray(4 - group.size(), '\0'));
        arcs.push_back(RawToUInt32(group));
    }
    return arcs;
}

// --- pieces of the text forms --------------------------------------------------------------

qint64 LeadingNumber(const QString& text) {
    int pos = skipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    quint64 magnitude = 0;
    readDigits(text, pos, magnitude);
    constexpr quint64 kMax = std::numeric_limits<qint64>::max();
    if (negative)
        return magnitude > kMax ? std::numeric_limits<qint64>::min()
                                : -static_cast<qint64>(magnitude);
    return static_cast<qint64>(std::min(magnitude, kMax));
}

double LeadingDouble(const QString& text) {
    const QByteArray latin = text.mid(skipBlanks(text, 0)).toLatin1();
    const char* first = latin.constData();
    const char* last = first + latin.size();
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
        if (first != last && (*first == '+' || *first == '-'))
            return 0;
    }
    double value = 0;
    if (std::from_chars(first, last, value).ec != std::errc{})
        return 0;
    return negative ? -value : value;
}

std::array<quint32, 5> TimeticksParts(quint32 hundredths) {
    const quint32 rest = hundredths % kHundredthsPerDay;
    return {hundredths / kHundredthsPerDay, rest / 360000, rest % 360000 / 6000, rest % 6000 / 100,
            rest % 100};
}

QString TimeticksText(quint32 hundredths) {
    const auto [days, hours, minutes, seconds, rest] = TimeticksParts(hundredths);
    const QString time = QStringLiteral("%1:%2:%3.%4")
                             .arg(hours)
                             .arg(minutes, 2, 10, QLatin1Char('0'))
                             .arg(seconds, 2, 10, QLatin1Char('0'))
                             .arg(rest, 2, 10, QLatin1Char('0'));
    if (days == 0)
        return time;
    if (days == 1)
        return QStringLiteral("1 day ") + time;
    return QStringLiteral("%1 days, ").arg(days) + time;
}

quint32 TimeticksFromText(const QString& text) {
    quint64 total = 0;
    int pos = 0;
    qsizetype word = text.indexOf(QLatin1String("days"));
    qsizetype wordLength = 4;
    if (word < 0) {
        word = text.indexOf(QLatin1String("day"));
        wordLength = 3;
    }
    if (word >= 0) {
        const qint64 days = std::max<qint64>(0, LeadingNumber(text.left(word)));
        total += static_cast<quint64>(days) * kHundredthsPerDay;
        pos = static_cast<int>(word + wordLength);
    }
    pos = skipBlanks(text, pos);
    if (pos < text.size() && text[pos] == u',')
        pos = skipBlanks(text, pos + 1);

    // h:m:s.hh, where missing parts add nothing. A number standing alone is a count of
    // hundredths, the form in which expressions hand timeticks over.
    int colons = 0;
    bool alone = true;
    while (pos < text.size()) {
        quint64 number = 0;
        if (!readDigits(text, pos, number))
            break;
        if (pos < text.size() && text[pos] == u':') {
            if (colons < 2)
                total += number * (colons == 0 ? 360000 : 6000);
            ++colons;
            ++pos;
            alone = false;
        } else if (pos < text.size() && text[pos] == u'.') {
            ++pos;
            quint64 fraction = 0;
            readDigits(text, pos, fraction);
            total += number * 100 + fraction;
            alone = false;
            break;
        } else {
            if (alone && word < 0 && pos == text.size())
                total += number;
            break;
        }
    }
    return static_cast<quint32>(total);
}

QString DoubleText(double value) {
    return QString::number(value, 'g', 15);
}

BcDateTimeParts BcDateTimeSplit(double days) {
    if (!std::isfinite(days) || days <= -693594.0 || days >= 2958466.0)
        fail(kBadValue);
    const double whole = std::trunc(days);
    const qint64 ms = std::min(std::llround(std::fabs(days - whole) * kMsPerDay), kMsPerDay - 1);
    return {kDayZero.addDays(static_cast<qint64>(whole)),
            QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms))};
}

double BcDateTimeJoin(const QDate& date, const QTime& time) {
    const double days = static_cast<double>(kDayZero.daysTo(date));
    const double fraction = time.msecsSinceStartOfDay() / static_cast<double>(kMsPerDay);
    return days >= 0 ? days + fraction : days - fraction;
}

QString BcDateTimeText(double days) {
    const auto [date, time] = BcDateTimeSplit(days);
    const qint64 secondsOfDay = time.msecsSinceStartOfDay() / 1000;
    const int hour24 = static_cast<int>(secondsOfDay / 3600);
    const int hour12 = hour24 % 12 == 0 ? 12 : hour24 % 12;
    return QStringLiteral("%1/%2/%3 %4:%5:%6 %7")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(hour12, 2, 10, QLatin1Char('0'))
        .arg(secondsOfDay / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(secondsOfDay % 60, 2, 10, QLatin1Char('0'))
        .arg(hour24 < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
}

double BcDateTimeFromText(const QString& text) {
    const QString t = text.trimmed();
    int pos = 0;
    quint64 n[6] = {0, 0, 0, 0, 0, 0};
    // Number i, after its separator (none for the first of the date and of the time).
    auto number = [&](int i, QChar separator) {
        if (separator != QChar()) {
            if (pos >= t.size() || t[pos] != separator)
                fail(kBadValue);
            ++pos;
        }
        const int start = pos;
        if (!readDigits(t, pos, n[i]) || pos - start > 4)
            fail(kBadValue);
    };
    number(0, QChar());
    number(1, u'/');
    number(2, u'/');
    const QDate date(static_cast<int>(n[0]), static_cast<int>(n[1]), static_cast<int>(n[2]));
    if (!date.isValid() || n[0] < 1 || n[0] > 9999)
        fail(kBadValue);
    if (pos < t.size()) {
        pos = skipBlanks(t, pos);
        if (pos == t.size() || !isDigit(t[pos]))
            fail(kBadValue);
        number(3, QChar());
        number(4, u':');
        if (pos < t.size() && t[pos] == u':')
            number(5, u':');
        pos = skipBlanks(t, pos);
        const QString half = t.mid(pos);
        if (half.compare(QLatin1String("am"), Qt::CaseInsensitive) == 0 ||
            half.compare(QLatin1String("pm"), Qt::CaseInsensitive) == 0) {
            if (n[3] < 1 || n[3] > 12)
                fail(kBadValue);
            n[3] =
                n[3] % 12 + (half.compare(QLatin1String("pm"), Qt::CaseInsensitive) == 0 ? 12 : 0);
        } else if (!half.isEmpty()) {
            fail(kBadValue);
        }
        if (n[3] > 23 || n[4] > 59 || n[5] > 59)
            fail(kBadValue);
    }
    return BcDateTimeJoin(
        date, QTime(static_cast<int>(n[3]), static_cast<int>(n[4]), static_cast<int>(n[5])));
}

std::vector<quint32> OidFromText(const QString& text) {
    const QString t = text.trimmed();
    std::vector<quint32> arcs;
    if (t.isEmpty())
        return arcs;
    int pos = t.startsWith(u'.') ? 1 : 0;
    while (true) {
        quint64 arc = 0;
        if (!readDigits(t, pos, arc) || arc > std::numeric_limits<quint32>::max())
            fail(kBadValue);
        arcs.push_back(static_cast<quint32>(arc));
        if (pos == t.size())
            return arcs;
        if (t[pos] != u'.')
            fail(kBadValue);
        ++pos;
    }
}

QString OidText(std::span<const quint32> arcs) {
    QString text;
    for (quint32 arc : arcs) {
        if (!text.isEmpty())
            text += u'.';
        text += QString::number(arc);
    }
    return text;
}

// --- conversions ---------------------------------------------------------------------------

QByteArray TextToRaw(const QString& text, int syntax) {
    if (!IsKnownSyntax(syntax))
        fail(kBadSyntax);
    if (text == kNullValue || syntax == QvSyntax::null)
        return {};
    switch (syntax) {
    case QvSyntax::boolean:
        return RawFromUInt32(isTrue(text) ? 1 : 0);
    case QvSyntax::integer:
    case QvSyntax::counter:
    case QvSyntax::guage:
    case QvSyntax::uinteger:
        return RawFromUInt32(static_cast<quint32>(LeadingNumber(text)));
    case QvSyntax::bitstr:
    case QvSyntax::octetstr:
    case QvSyntax::opaque:
    case QvSyntax::macaddress:
        return hexBytes(text);
    case QvSyntax::objectid:
        return RawFromOid(OidFromText(text));
    case QvSyntax::ipaddress:
    case QvSyntax::nsapaddr:
        return ipAddressBytes(text);
    case QvSyntax::timeticks:
        return RawFromUInt32(TimeticksFromText(text));
    case QvSyntax::counter64:
        return RawFromUInt64(counter64FromText(text));
    case QvSyntax::double_:
        return RawFromDouble(LeadingDouble(text));
    case QvSyntax::datetime:
        return QvDateTime(text).ToOctets();
    case QvSyntax::bcdatetime:
        return RawFromDouble(BcDateTimeFromText(text));
    case QvSyntax::displaystr:
        return text.toUtf8();
    case QvSyntax::bool8:
        return QByteArray(1, isTrue(text) ? '\1' : '\0');
    case QvSyntax::int8:
    case QvSyntax::uint8:
        return QByteArray(1, static_cast<char>(LeadingNumber(text) & 0xFF));
    case QvSyntax::bool16:
        return bigEndian16(isTrue(text) ? 1 : 0);
    case QvSyntax::int16:
    case QvSyntax::uint16:
        return bigEndian16(static_cast<quint16>(LeadingNumber(text) & 0xFFFF));
    }
    fail(kBadSyntax);
}

QString RawToText(const QByteArray& raw, int syntax) {
    if (!IsKnownSyntax(syntax))
        fail(kBadSyntax);
    if (raw.isEmpty())
        return syntax == QvSyntax::displaystr ? QString() : kNullValue;
    switch (syntax) {
    case QvSyntax::null:
        return kNullValue;
    case QvSyntax::boolean:
        return boolText(RawToUInt32(raw) != 0);
    case QvSyntax::integer:
        return QString::number(RawToInt32(raw));
    case QvSyntax::counter:
    case QvSyntax::guage:
    case QvSyntax::uinteger:
        return QString::number(RawToUInt32(raw));
    case QvSyntax::timeticks:
        return TimeticksText(RawToUInt32(raw));
    case QvSyntax::ipaddress:
    case QvSyntax::nsapaddr:
        needBytes(raw, 4);
        return QStringLiteral("%1.%2.%3.%4")
            .arg(byteAt(raw, 0))
            .arg(byteAt(raw, 1))
            .arg(byteAt(raw, 2))
            .arg(byteAt(raw, 3));
    case QvSyntax::counter64:
        return QString::number(RawToUInt64(raw));
    case QvSyntax::double_:
        return DoubleText(RawToDouble(raw));
    case QvSyntax::bcdatetime:
        return BcDateTimeText(RawToDouble(raw));
    case QvSyntax::macaddress:
        needBytes(raw, 6);
        return hexText(raw);
    case QvSyntax::datetime:
        return QvDateTime::FromOctets(raw).ToText();
    case QvSyntax::bitstr:
    case QvSyntax::octetstr:
    case QvSyntax::opaque:
        return hexText(raw);
    case QvSyntax::objectid:
        return OidText(RawToOid(raw));
    case QvSyntax::displaystr:
        return displayText(raw);
    case QvSyntax::bool8:
        return boolText(byteAt(raw, 0) != 0);
    case QvSyntax::int8:
        return QString::number(static_cast<qint8>(byteAt(raw, 0)));
    case QvSyntax::uint8:
        return QString::number(byteAt(raw, 0));
    case QvSyntax::bool16:
        needBytes(raw, 2);
        return boolText(qFromBigEndian<quint16>(raw.constData()) != 0);
    case QvSyntax::int16: // shown without sign: a stored -1 shows 65535
    case QvSyntax::uint16:
        needBytes(raw, 2);
        return QString::number(qFromBigEndian<quint16>(raw.constData()));
    }
    fail(kBadSyntax);
}

int PartialLength(int syntax) {
    switch (syntax) {
    case QvSyntax::boolean:
    case QvSyntax::integer:
    case QvSyntax::ipaddress:
    case QvSyntax::nsapaddr:
    case QvSyntax::counter:
    case QvSyntax::guage:
    case QvSyntax::uinteger:
    case QvSyntax::timeticks:
        return 4;
    case QvSyntax::counter64:
    case QvSyntax::double_:
    case QvSyntax::bcdatetime:
        return 8;
    case QvSyntax::macaddress:
        return 6;
    case QvSyntax::datetime:
        return 11;
    case QvSyntax::bool8:
    case QvSyntax::int8:
    case QvSyntax::uint8:
        return 1;
    case QvSyntax::bool16:
    case QvSyntax::int16:
    case QvSyntax::uint16:
        return 2;
    case QvSyntax::bitstr:
    case QvSyntax::octetstr:
    case QvSyntax::objectid:
    case QvSyntax::opaque:
    case QvSyntax::displaystr:
        return -1;
    case QvSyntax::null:
        return 0;
    }
    fail(kBadSyntax);
}

QByteArray ExtractPartial(const QByteArray& raw, int offset, int syntax) {
    const int length = PartialLength(syntax);
    if (raw.isEmpty() || length == 0)
        return {};
    if (offset < 0 || offset > raw.size())
        fail(kOutOfRange);
    if (length < 0)
        return raw.mid(offset);
    if (raw.size() - offset < length)
        fail(kOutOfRange);
    return raw.mid(offset, length);
}

void PutPartial(QByteArray& raw, int offset, const QByteArray& part) {
    if (offset < 0)
        fail(kOutOfRange);
    const qsizetype end = offset + part.size();
    if (raw.size() < end)
        raw.append(QByteArray(end - raw.size(), '\0'));
    std::memcpy(raw.data() + offset, part.constData(), static_cast<size_t>(part.size()));
}

bool RawBit(const QByteArray& raw, int bitIndex) {
    if (bitIndex < 0 || bitIndex / 8 >= raw.size())
        fail(kOutOfRange);
    return (byteAt(raw, bitIndex / 8) & (0x80 >> (bitIndex % 8))) != 0;
}

void SetRawBit(QByteArray& raw, int bitIndex, bool on) {
    if (bitIndex < 0)
        fail(kOutOfRange);
    const int byte = bitIndex / 8;
    if (raw.size() <= byte)
        raw.append(QByteArray(byte + 1 - raw.size(), '\0'));
    const quint8 mask = static_cast<quint8>(0x80 >> (bitIndex % 8));
    const quint8 value = on ? (byteAt(raw, byte) | mask) : (byteAt(raw, byte) & ~mask);
    raw[byte] = static_cast<char>(value);
}

} // namespace qv
