#include "snmplib/datetime.h"

#include "snmplib/qv_exception.h"

#include "snmplib/error_codes.h"
#include <array>
#include <limits>
#include <QDateTime>

using namespace qv::code;

namespace {

// The nine numbers of the text form, in order.
using Numbers = std::array<qint64, 9>;

// Reads the text with a pattern made of "%d" and literal characters the way the C scanner does:
// a number may be preceded by blanks and a sign; a literal must match the next character
// exactly. Each number is stored as soon as it is read, starting at numbers[0]; returns how many
// were read.
int scan(const QString& text, const char* pattern, Numbers& numbers) {
    int pos = 0;
    int read = 0;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == 'd') {
            ++p;
            while (pos < text.size() && text[pos].isSpace())
                ++pos;
            bool negative = false;
            if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
                negative = text[pos] == u'-';
                ++pos;
            }
            const int start = pos;
            qint64 value = 0;
            while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
                if (value < std::numeric_limits<qint64>::max() / 10)
                    value = value * 10 + (text[pos].unicode() - u'0');
                ++pos;
            }
            if (pos == start)
                return read;
            numbers[static_cast<size_t>(read)] = negative ? -value : value;
            ++read;
        } else {
            if (pos >= text.size() || text[pos] != QLatin1Char(*p))
                return read;
            ++pos;
        }
    }
    return read;
}

} // namespace

QvDateTime::QvDateTime() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    year = static_cast<quint16>(d.year());
    month = static_cast<quint8>(d.month());
    day = static_cast<quint8>(d.day());
    hour = static_cast<quint8>(t.hour());
    minutes = static_cast<quint8>(t.minute());
    seconds = static_cast<quint8>(t.second());
}

QvDateTime::QvDateTime(const QString& text) {
    Numbers n{};
    if (scan(text, "%d-%d-%d,%d:%d:%d.%d,+%d:%d", n) == 9) {
        direction = '+';
    } else if (scan(text, "%d-%d-%d,%d:%d:%d.%d,-%d:%d", n) == 9) {
        direction = '-';
    } else {
        scan(text, "%d-%d-%d,%d:%d:%d.%d", n);
        direction = '+';
    }
    // Cut to the field widths, as the fields of the octet form are.
    year = static_cast<quint16>(n[0]);
    month = static_cast<quint8>(n[1]);
    day = static_cast<quint8>(n[2]);
    hour = static_cast<quint8>(n[3]);
    minutes = static_cast<quint8>(n[4]);
    seconds = static_cast<quint8>(n[5]);
    deciSeconds = static_cast<quint8>(n[6]);
    hoursFromUtc = static_cast<quint8>(n[7]);
    minutesFromUtc = static_cast<quint8>(n[8]);
}

QString QvDateTime::ToText() const {
    QString text = QStringLiteral("%1-%2-%3,%4:%5:%6.%7")
                       .arg(int(year))
                       .arg(int(month))
                       .arg(int(day))
                       .arg(int(hour))
                       .arg(int(minutes))
                       .arg(int(seconds))
                       .arg(int(deciSeconds));
    if ((hoursFromUtc != 0 || minutesFromUtc != 0) && (direction == '+' || direction == '-'))
        text += QStringLiteral(",%1%2:%3")
                    .arg(QLatin1Char(direction))
                    .arg(int(hoursFromUtc))
                    .arg(int(minutesFromUtc));
    return text;
}

QByteArray QvDateTime::ToOctets() const {
    QByteArray o(11, '\0');
    o[0] = static_cast<char>(year >> 8);
    o[1] = static_cast<char>(year & 0xFF);
    o[2] = static_cast<char>(month);
    o[3] = static_cast<char>(day);
    o[4] = static_cast<char>(hour);
    o[5] = static_cast<char>(minutes);
    o[6] = static_cast<char>(seconds);
    o[7] = static_cast<char>(deciSeconds);
    o[8] = direction;
    o[9] = static_cast<char>(hoursFromUtc);
    o[10] = static_cast<char>(minutesFromUtc);
    return o;
}

QvDateTime QvDateTime::FromOctets(const QByteArray& octets) {
    if (octets.size() < 11)
        throw QvException(kBadValue);
    auto byte = [&](int i) { return static_cast<quint8>(octets[i]); };
    QvDateTime dt{Blank{}};
    dt.year = static_cast<quint16>((byte(0) << 8) | byte(1));
    dt.month = byte(2);
    dt.day = byte(3);
    dt.hour = byte(4);
    dt.minutes = byte(5);
    dt.seconds = byte(6);
    dt.deciSeconds = byte(7);
    dt.direction = octets[8];
    dt.hoursFromUtc = byte(9);
    dt.minutesFromUtc = byte(10);
    return dt;
}
