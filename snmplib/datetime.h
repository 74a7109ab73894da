#pragma once
// The SNMP DateAndTime value (11 octets) in memory, with its text form
// "year-month-day,hour:minutes:seconds.deci-seconds,+hours:minutes".
#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct QvDateTime {
    quint16 year = 0; // host order in memory; most significant byte first in the octets
    quint8 month = 0;
    quint8 day = 0;
    quint8 hour = 0;
    quint8 minutes = 0;
    quint8 seconds = 0;
    quint8 deciSeconds = 0;
    char direction = '+'; // from UTC, '+' or '-'
    quint8 hoursFromUtc = 0;
    quint8 minutesFromUtc = 0;

    // The current local date and time, deci-seconds 0, offset +0:0.
    QvDateTime();
    // Parsed from the text form: "%d-%d-%d,%d:%d:%d.%d,+%d:%d", else the same with '-', else
    // without the offset ('+'). Each number is cut to its field's width; numbers read by an
    // attempt that failed stay (a text ending after "+8" gives +8:0); fields never read are 0.
    explicit QvDateTime(const QString& text);

    // The text form; the offset is shown only when it is not 0:0 and the direction is '+' or
    // '-'.
    QString ToText() const;

    // The 11 octets of the wire form. FromOctets needs at least 11 bytes (the first 11 count).
    QByteArray ToOctets() const;
    static QvDateTime FromOctets(const QByteArray& octets);

    friend bool operator==(const QvDateTime&, const QvDateTime&) = default;

private:
    struct Blank {};
    explicit QvDateTime(Blank) {}
};
