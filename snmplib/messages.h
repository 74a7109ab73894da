#pragma once
// The seven message tables of the library, their built-in texts, loading of replacement message
// files, and the mapping of SNMP engine results to library codes and texts.
#include <initializer_list>
#include <QString>
#include <QTime>
#include <utility>

namespace qv {

enum class MessageTable {
    SnmpStatus,     // "snmp.err", 19 entries: PDU error status 1..19, codes -101..-119
    SnmpV3,         // "snmpv3.err", 17 entries: results -1402..-1418, codes -201..-217
    Usm,            // "snmpusm.err", 14 entries: results 1401..1414, codes -301..-314
    SnmpClass,      // "snmpclass.err", 23 entries: results -1..-23, codes -401..-423
    Library,        // "qvsnmp.err", 29 entries: codes 0 and -501..-528
    StatusTemplate, // "snmp.msg", 2 entries: get and set status lines
    Common,         // "common.err", 19 entries: edit constraints and logical expressions
};

// Entry `entry` of a table; past the end of a loaded file, the built-in text of that entry.
QString messageText(MessageTable table, int entry);

// Text of a library code: 0, -101..-119, -201..-217, -301..-314, -401..-423, -501..-528.
QString codeText(int code);

// Replaces the table by the file's non-blank lines, in order (white space kept, the line end
// dropped; a line longer than 1023 characters counts as several lines of 1023). False, and the
// table unchanged, when the file cannot be read or holds no non-blank line. Entries beyond the
// file's last keep their built-in texts.
bool LoadMessageFile(MessageTable table, const QString& path);

// Back to the built-in texts (tests).
void resetMessageTables();

struct MappedResult {
    int code;
    QString text;
};

// SNMP engine result (in the numbering of the result table) -> library code and text.
MappedResult MapResult(int result);

// Plain replacement of every occurrence of a placeholder such as "[MAXLEN]", left to right,
// without looking into the inserted value again.
QString replacePlaceholder(const QString& text, const QString& placeholder, const QString& value);

// Several placeholders in one pass, left to right: a value that itself contains a placeholder is
// not looked into again.
QString replacePlaceholders(const QString& text,
                            std::initializer_list<std::pair<QString, QString>> values);

// Status line of an exchange: entry 0 (get) or 1 (set) of the status-template table with
// "[ERROR]" replaced by the error text, "[VARLIST]" by the list name and "[TIME]" by the time as
// "hh:nn:ss AM". Without a list name the part from the blank after "[ERROR]" through
// "[VARLIST]" is left out ("Get: [ERROR]. Receive at [TIME].").
QString StatusLine(int templateIndex, const QString& errorText, const QString& listName,
                   const QTime& time = QTime::currentTime());

} // namespace qv
