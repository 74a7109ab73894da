#include "snmplib/messages.h"

#include "snmplib/error_codes.h"
#include <array>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <QTime>
#include <span>

using namespace qv::code;

namespace qv {
namespace {

constexpr std::array snmpStatusTexts = {
    "(SNMP) Response PDU Too Big!",
    "(SNMP) Variable does not exist!",
    "(SNMP) Cannot modify variable: Bad Value!",
    "(SNMP) Cannot modify object, Read Only!",
    "(SNMP) Cannot perform operation, General Error!",
    "(SNMP) Cannot access variable, No Access!",
    "(SNMP) Cannot create/modify variable, Wrong Type!",
    "(SNMP) Cannot create/set variable, Wrong Length!",
    "(SNMP) Cannot create/set variable, Wrong Encoding!",
    "(SNMP) Cannot create/set variable, Wrong Value!",
    "(SNMP) Cannot create variable, Creation Not Allowed!",
    "(SNMP) Cannot create/set variable, Inconsistent Value!",
    "(SNMP) Cannot create/set variable, Resource Unavailable!",
    "(SNMP) Cannot create/set variable, Commit Failed!",
    "(SNMP) Cannot create/set variable, Undo Failed!",
    "(SNMP) Cannot perform operation, Authorization Error!",
    "(SNMP) Cannot create/set variable, Not Writable!",
    "(SNMP) Cannot create variable, Inconsistent Name!",
    "(SNMP) Cannot download the overdue firmware!",
};

constexpr std::array snmpV3Texts = {
    "(SNMPv3) Unsupported Security Model!",
    "(SNMPv3) Message not in Time Window!",
    "(SNMPv3) Received same Message twice!",
    "(SNMPv3) Invalid Message!",
    "(SNMPv3) Invalid EngineID!",
    "(SNMPv3) v3MP not initialized!",
    "(SNMPv3) Parse Error!",
    "(SNMPv3) Received Message with unknown MsgID!",
    "(SNMPv3) Message does not match known message!",
    "(SNMPv3) Community format error!",
    "(SNMPv3) Unknown UserName!",
    "(SNMPv3) Build error!",
    "(SNMPv3) USM: error!",
    "(SNMPv3) Unknown pdu handlers!",
    "(SNMPv3) Unavailable Context!",
    "(SNMPv3) Unknown Context!",
    "(SNMPv3) Report sent!",
};

constexpr std::array usmTexts = {
    "(SNMPv3USM) error!",
    "(SNMPv3USM) Configfile write error!",
    "(SNMPv3USM) Unsupported SecurityLevel!",
    "(SNMPv3USM) Unknown SecurityName!",
    "(SNMPv3USM) Encryption error!",
    "(SNMPv3USM) Decryption error!",
    "(SNMPv3USM) Authentication error!",
    "(SNMPv3USM) Authentication failure!",
    "(SNMPv3USM) Parse error!",
    "(SNMPv3USM) Unknown EngineID!",
    "(SNMPv3USM) Message not in TimeWindow!",
    "(SNMPv3USM) Unsupported AuthProtocol!",
    "(SNMPv3USM) Unsupported PrivProtocol!",
    "(SNMPv3USM) Address error!",
};

constexpr std::array snmpClassTexts = {
    "(SNMPClass) Operation failed!",
    "(SNMPClass) Resource unavailable!",
    "(SNMPClass) Internal error!",
    "(SNMPClass) Unsupported function!",
    "(SNMPClass) SNMP request timed out!",
    "(SNMPClass) Received SNMP Response!",
    "(SNMPClass) Received SNMP Notification (trap or inform)!",
    "(SNMPClass) Closing session with outstanding requests!",
    "(SNMPClass)Unknown error code!",
    "(SNMPClass) Class not valid!",
    "(SNMPClass) Invalid Pdu!",
    "(SNMPClass) Invalid Target!",
    "(SNMPClass) Invalid (null) Callback Function!",
    "(SNMPClass) Invalid Request Id!",
    "(SNMPClass) Invalid Notification Id!",
    "(SNMPClass) SNMP Operation not supported on specified Target!",
    "(SNMPClass) Invalid Object Identifier!",
    "(SNMPClass) Invalid Address!",
    "(SNMPClass) Agent indicates error in SNMP request!",
    "(SNMP Class) Transport is not supported!",
    "(SNMPClass) Transport is in use!",
    "(SNMPClass) Transport operation failed!",
    "(SNMPClass) Blocked Mode Shutdown!",
};

constexpr std::array libraryTexts = {
    "(QvSNMP++) Ok!",
    "(QvSNMP++) Fail to read SNMP variables from file([FILENAME])!",
    "(QvSNMP++) Bad format at line([LINENO])in SNMP variables file([FILENAME])!",
    "(QvSNMP++) Bad item type at line([LINENO])in SNMP variables file([FILENAME])!",
    "(QvSNMP++) Bad syntax at line([LINENO])in SNMP variables file([FILENAME])!",
    "(QvSNMP++) Bad access type at line([LINENO])in SNMP variables file([FILENAME])!",
    "(QvSNMP++) Cannot create the global QvSNMP++ session!",
    "(QvSNMP++) Error when loading SNMP engine boots counter!",
    "(QvSNMP++) Error when saving SNMP engine boots counter!",
    "(QvSNMP++) Invalid IP Address or DNS name!",
    "(QvSNMP++) Can't send get-next command for a SNMP variable list with single value!",
    "(QvSNMP++) Bad SNMP syntax!",
    "(QvSNMP++) Null value in the expression!",
    "(QvSNMP++) Bad SNMP syntax in the expression!",
    "(QvSNMP++) Bad key count of SNMP variable list!",
    "(QvSNMP++) Bad item type of SNMP variable list!",
    "(QvSNMP++) Bad item type of associated SNMP variable list!",
    "(QvSNMP++) Bad syntax of the associated SNMP variable's (partial) data!",
    "(QvSNMP++) Bad value of the associated SNMP variable's (partial) data!",
    "(QvSNMP++) Out of range for the bit(byte) index of the associated SNMP variable's (partial) "
    "data!",
    "(QvSNMP++) No reference option list for a SNMP variable's (partial) data associating with a "
    "optional visual control!",
    "(QvSNMP++) Bad type of the associated visual control!",
    "(QvSNMP++) Count of the associated visual controls is not enough!",
    "(QvSNMP++) No system start time for the time whose data source is the SNMP variable's "
    "(partial) data with syntax timeticks!",
    "(QvSNMP++) Count of the value items for the chart's history data is not enough!",
    "(QvSNMP++) Log database is not connected!",
    "(QvSNMP++) Log database field not found!",
    "(QvSNMP++) Bad syntax for the history chart of log!",
    "(QvSNMP++) Unknown error code!",
};

constexpr std::array statusTemplateTexts = {
    "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].",
    "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].",
};

constexpr std::array commonTexts = {
    "(QvCommon) Ok!",
    "(QvCommon) Bad logic operand!",
    "(QvCommon) Bad format specifier of edit's constraint!",
    "(QvCommon) Empty value is not allowed!",
    "(QvCommon) Please enter a string whose length is less than [MAXLEN]!",
    "(QvCommon) Please enter a string whose length is [LEN]!",
    "(QvCommon) Please enter a hex string whose length is less than [MAXLEN]!",
    "(QvCommon) Please enter a hex string whose length is [LEN]!",
    "(QvCommon) Please enter a number between [MIN] and [MAX]!",
    "(QvCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\n"
    "Here,the count of the number is less than [MAXCOUNT]!",
    "(QvCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\n"
    "Here,the count of the number is equal to [COUNT]!",
    "(QvCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\n"
    "Here,each number is between [MIN] and [MAX]!",
    "(QvCommon) Out of range at index of array or list!",
    "(QvCommon) Destination buffer is undersize!",
    "(QvCommon) The source to dncrypt is not encrypted!",
    "(QvCommon) Fail to read data from file([FILENAME])!",
    "(QvCommon) Fail to write data to file([FILENAME])!",
    "(QvCommon) Fail to write value in ini file([FILENAME])!",
    "(QvCommon) Fail to read option data from file([FILENAME])!",
};

constexpr int tableCount = 7;

std::span<const char* const> builtIn(MessageTable table) {
    switch (table) {
    case MessageTable::SnmpStatus:
        return snmpStatusTexts;
    case MessageTable::SnmpV3:
        return snmpV3Texts;
    case MessageTable::Usm:
        return usmTexts;
    case MessageTable::SnmpClass:
        return snmpClassTexts;
    case MessageTable::Library:
        return libraryTexts;
    case MessageTable::StatusTemplate:
        return statusTemplateTexts;
    case MessageTable::Common:
        return commonTexts;
    }
    return {};
}

// Texts read from message files, one list per table; an empty list means the built-in texts.
std::array<QStringList, tableCount>& loaded() {
    static std::array<QStringList, tableCount> tables;
    return tables;
}

// A message file line is read in pieces of this many characters at most; a longer line makes
// several entries.
constexpr qsizetype pieceLength = 1023;

QString decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Message files written with an 8-bit code page.
    return QString::fromLatin1(bytes);
}

} // namespace

QString messageText(MessageTable table, int entry) {
    if (entry < 0)
        return {};
    const QStringList& file = loaded()[static_cast<int>(table)];
    if (entry < file.size())
        return file[entry];
    const auto texts = builtIn(table);
    if (static_cast<size_t>(entry) < texts.size())
        return QString::fromUtf8(texts[entry]);
    return {};
}

QString codeText(int code) {
    if (code == 0)
        return messageText(MessageTable::Library, 0);
    if (code <= -101 && code >= -119)
        return messageText(MessageTable::SnmpStatus, -101 - code);
    if (code <= -201 && code >= -217)
        return messageText(MessageTable::SnmpV3, -201 - code);
    if (code <= -301 && code >= -314)
        return messageText(MessageTable::Usm, -301 - code);
    if (code <= -401 && code >= -423)
        return messageText(MessageTable::SnmpClass, -401 - code);
    if (code <= -501 && code >= -528)
        return messageText(MessageTable::Library, -500 - code);
    return messageText(MessageTable::Library, 28);
}

bool LoadMessageFile(MessageTable table, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = decode(file.readAll());
    QStringList entries;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        for (qsizetype at = 0; at < line.size(); at += pieceLength) {
            const QStringView piece = line.mid(at, pieceLength);
            if (!piece.trimmed().isEmpty())
                entries.append(piece.toString());
        }
    }
    if (entries.isEmpty())
        return false;
    loaded()[static_cast<int>(table)] = entries;
    return true;
}

void resetMessageTables() {
    for (QStringList& table : loaded())
        table.clear();
}

MappedResult MapResult(int result) {
    int code = kUnknownError;
    if (result == 0 || result == 1400 || result == -1401)
        code = 0;
    else if (result >= 1 && result <= 19)
        code = -(100 + result);
    else if (result >= 1401 && result <= 1414)
        code = 1100 - result;
    else if (result <= -1402 && result >= -1418)
        code = result + 1201;
    else if (result <= -1 && result >= -23)
        code = result - 400;
    return {code, codeText(code)};
}

QString replacePlaceholder(const QString& text, const QString& placeholder, const QString& value) {
    if (placeholder.isEmpty())
        return text;
    QString result = text;
    return result.replace(placeholder, value);
}

QString StatusLine(int templateIndex, const QString& errorText, const QString& listName,
                   const QTime& time) {
    QString line = messageText(MessageTable::StatusTemplate, templateIndex);
    static const QString error = QStringLiteral("[ERROR]");
    static const QString varList = QStringLiteral("[VARLIST]");
    if (listName.isEmpty()) {
        // Without a list name the " Request:[VARLIST]" part goes, leaving "Get: [ERROR]. ...".
        const qsizetype from = line.indexOf(error);
        const qsizetype to = from < 0 ? -1 : line.indexOf(varList, from + error.size());
        if (to >= 0)
            line.remove(from + error.size(), to + varList.size() - from - error.size());
    }
    const QString timeText = time.toString(QStringLiteral("hh:mm:ss AP"));
    return replacePlaceholders(
        line, {{varList, listName}, {error, errorText}, {QStringLiteral("[TIME]"), timeText}});
}

QString replacePlaceholders(const QString& text,
                            std::initializer_list<std::pair<QString, QString>> values) {
    QString result;
    qsizetype at = 0;
    while (at < text.size()) {
        bool replaced = false;
        for (const auto& [placeholder, value] : values) {
            if (!placeholder.isEmpty() && QStringView(text).mid(at).startsWith(placeholder)) {
                result += value;
                at += placeholder.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            result += text[at++];
    }
    return result;
}

} // namespace qv
