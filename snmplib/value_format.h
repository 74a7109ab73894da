#pragma once
// Value texts and raw values of every syntax.
//
// A variable's value is held as text (its *value text*). The *raw value* is a byte string laid
// out by syntax; it is what the binding layer cuts into parts and joins again, and what the
// request engine turns into the value it puts on the wire (and back):
//
//   syntax                        raw value                                on the wire
//   boolean                       4 bytes little-endian, 0 or 1            INTEGER
//   integer                       4 bytes little-endian, signed            INTEGER (signed 32)
//   counter, guage, uinteger      4 bytes little-endian, unsigned          Counter32/Gauge32/..
//   timeticks                     4 bytes little-endian, hundredths        TimeTicks
//   counter64                     8 bytes: low 32 bits, then high 32 bits  Counter64
//                                 (each little-endian, i.e. one 64-bit LE)
//   objectid                      each arc as 4 bytes little-endian        OBJECT IDENTIFIER
//   ipaddress, nsapaddr           4 bytes in dotted order                  IpAddress
//   bitstr, octetstr, opaque,     the bytes as they are                    OCTET STRING
//   macaddress                    (six for an Ethernet address)
//   displaystr                    the characters (UTF-8)                   OCTET STRING
//   double                        8 bytes IEEE 754, little-endian          OCTET STRING (same 8)
//   bcdatetime                    8 bytes IEEE 754 little-endian: days     OCTET STRING (same 8)
//                                 since 1899-12-30, fraction = time of day
//   datetime                      11 bytes DateAndTime, year MSB first     OCTET STRING (same 11)
//   null                          empty                                    NULL
//   bool8, int8, uint8            1 byte                                   (parts only)
//   bool16, int16, uint16         2 bytes, most significant first          (parts only)
//
// Text forms (what RawToText produces and TextToRaw reads; numbers in the C locale, so a text
// always reads back the same whatever the operator's locale):
//   boolean "true"/"false"; integer signed decimal; counter, guage, uinteger unsigned decimal;
//   timeticks "h:mm:ss.hh", "1 day h:mm:ss.hh", "N days, h:mm:ss.hh"; counter64 decimal;
//   objectid, ipaddress dotted decimal; octet strings upper-case hex without separators;
//   displaystr the characters up to the first zero byte; double 15 significant digits;
//   bcdatetime "yyyy/mm/dd hh:nn:ss am/pm"; datetime as QvDateTime::ToText.
// "(NULL)" reads as an empty raw value for every syntax, and an empty raw value shows as
// "(NULL)" (as the empty text for displaystr).
//
// Failures raise QvException: -511 unknown syntax, -518 a raw value too short for its syntax or
// a text that cannot be the syntax's value, -519 a part or bit outside the raw value.
#include "snmplib/syntax.h"

#include <array>
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QtGlobal>
#include <QTime>
#include <span>
#include <vector>

namespace qv {

QByteArray TextToRaw(const QString& text, int syntax);
QString RawToText(const QByteArray& raw, int syntax);

// Partial data: the bytes a partial syntax reads at a byte offset (4 for the 32-bit syntaxes, 8
// for counter64, double and bcdatetime, 6 macaddress, 11 datetime, 1 and 2 for the 8- and 16-bit
// ones, everything up to the end for the string and OID syntaxes, none for null). An empty raw
// value gives an empty part; a part reaching past the end raises -519 (an open-ended part may
// start at the very end and is then empty).
QByteArray ExtractPartial(const QByteArray& raw, int offset, int syntax);
// Bytes a partial syntax takes, -1 for "up to the end"; raises -511 for an unknown syntax.
int PartialLength(int syntax);
// Puts a part back: pads raw with zero bytes up to offset + part length, then copies the part
// over it at the offset; bytes outside the range keep their values.
void PutPartial(QByteArray& raw, int offset, const QByteArray& part);

// Bit n of a raw value: byte n / 8, mask 0x80 >> (n % 8). RawBit raises -519 beyond the value;
// SetRawBit pads with zero bytes first.
bool RawBit(const QByteArray& raw, int bitIndex);
void SetRawBit(QByteArray& raw, int bitIndex, bool on);

// Numbers in the raw layout. The readers raise -518 when raw is shorter than the number.
QByteArray RawFromUInt32(quint32 value);
quint32 RawToUInt32(const QByteArray& raw);
qint32 RawToInt32(const QByteArray& raw);
QByteArray RawFromUInt64(quint64 value); // counter64
quint64 RawToUInt64(const QByteArray& raw);
QByteArray RawFromDouble(double value); // double, bcdatetime
double RawToDouble(const QByteArray& raw);
QByteArray RawFromOid(std::span<const quint32> arcs);
// A trailing group of fewer than 4 bytes (only in a part cut from another syntax) is read as if
// padded with zero bytes.
std::vector<quint32> RawToOid(const QByteArray& raw);

// Pieces of the text forms, for the request engine and the expression evaluator.
// The leading decimal number of a text: blanks and a sign allowed, reading stops at the first
// other character, no number gives 0 (saturates at the 64-bit limits).
qint64 LeadingNumber(const QString& text);
// The leading floating-point number (decimal point and exponent allowed), no number gives 0.
double LeadingDouble(const QString& text);
QString TimeticksText(quint32 hundredths);
quint32 TimeticksFromText(const QString& text);
QString DoubleText(double value);
// Days since 1899-12-30 <-> "yyyy/mm/dd hh:nn:ss am/pm". The reader also takes a 24-hour time
// without am/pm and a date alone; it raises -518 for any other text, and the writer for a
// number outside the years 1..9999.
QString BcDateTimeText(double days);
double BcDateTimeFromText(const QString& text);
// The day count as a date and a time of day to the millisecond, and back (the whole days count
// backwards before the day zero, the time of day forwards). The split raises -518 outside the
// years 1..9999, as the text form does.
struct BcDateTimeParts {
    QDate date;
    QTime time;
};
BcDateTimeParts BcDateTimeSplit(double days);
double BcDateTimeJoin(const QDate& date, const QTime& time);
// Timeticks as days, hours, minutes, seconds and hundredths.
inline constexpr quint32 kHundredthsPerDay = 8640000;
std::array<quint32, 5> TimeticksParts(quint32 hundredths);
// Dotted decimal OID text -> arcs; raises -518 for anything else (empty text: no arcs).
std::vector<quint32> OidFromText(const QString& text);
QString OidText(std::span<const quint32> arcs);

} // namespace qv
