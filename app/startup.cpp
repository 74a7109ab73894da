#include "app/startup.h"

#include "app/module_texts.h"
#include "platform/paths.h"
#include "platform/qv_ini.h"
#include "platform/secrets.h"
#include "snmplib/messages.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

namespace app {
namespace {

constexpr qsizetype kHelpFileNameLength = 12;
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();

struct MessageFile {
    qv::MessageTable table;
    const char* name;
};

constexpr std::array<MessageFile, 7> kBesideExecutable{{
    {qv::MessageTable::SnmpClass, "snmpclass.err"},
    {qv::MessageTable::SnmpStatus, "snmp.err"},
    {qv::MessageTable::StatusTemplate, "snmp.msg"},
    {qv::MessageTable::Library, "qvsnmp.err"},
    {qv::MessageTable::SnmpV3, "snmpv3.err"},
    {qv::MessageTable::Usm, "snmpusm.err"},
    {qv::MessageTable::Common, "common.err"},
}};

constexpr std::array<MessageFile, 7> kFromHelpDirectory{{
    {qv::MessageTable::Common, "common.err"},
    {qv::MessageTable::SnmpStatus, "snmp.err"},
    {qv::MessageTable::SnmpV3, "snmpv3.err"},
    {qv::MessageTable::Usm, "snmpusm.err"},
    {qv::MessageTable::SnmpClass, "snmpclass.err"},
    {qv::MessageTable::Library, "qvsnmp.err"},
    {qv::MessageTable::StatusTemplate, "snmp.msg"},
}};

// A value or path as the start-up messages quote it: whole when it is short, otherwise its
// beginning and end around an ellipsis, so that a huge argument still gives a readable box.
constexpr qsizetype kQuotedHead = 48;
constexpr qsizetype kQuotedTail = 16;

QString quoted(const QString& text) {
    if (text.size() <= kQuotedHead + kQuotedTail + 1)
        return u'"' + text + u'"';
    return u'"' + text.left(kQuotedHead) + QChar(0x2026) + text.right(kQuotedTail) + u'"';
}

// Where a number came from, for the message that names it.
struct Origin {
    QString what; // "the switch \"/t\"" or "the key \"AgentPort\" in \"...\""
};

// The decimal integer `text` within [lo, hi]. Only an optional sign and the digits 0-9.
qint64 decimal(const QString& text, qint64 lo, qint64 hi, const Origin& origin) {
    bool digits = !text.isEmpty();
    for (qsizetype i = 0; i < text.size() && digits; ++i) {
        const QChar c = text[i];
        const bool sign = i == 0 && (c == u'-' || c == u'+') && text.size() > 1;
        digits = sign || (c >= u'0' && c <= u'9');
    }
    if (!digits)
        throw StartupError(QStringLiteral("The value %1 of %2 is not a decimal integer.")
                               .arg(quoted(text), origin.what));
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n < lo || n > hi)
        throw StartupError(QStringLiteral("The value %1 of %2 is out of range (%3 to %4).")
                               .arg(quoted(text), origin.what)
                               .arg(lo)
                               .arg(hi));
    return n;
}

quint16 port(const QString& text, const Origin& origin) {
    return static_cast<quint16>(decimal(text, 0, 65535, origin));
}
quint8 version(const QString& text, const Origin& origin) {
    return static_cast<quint8>(decimal(text, 0, 255, origin));
}
int integer(const QString& text, const Origin& origin) {
    return static_cast<int>(decimal(text, kIntMin, kIntMax, origin));
}
// The host counts security level and protocols from 0; the session from 1.
int hostCode(const QString& text, const Origin& origin) {
    return static_cast<int>(decimal(text, kIntMin, kIntMax - 1, origin)) + 1;
}

struct Switch {
    const char* text;
    bool version3Only;
    void (*apply)(SessionRecords& s, const QString& value, const Origin& origin);
};

// Switches 2 to 14 in the order in which an argument is classified ("/I" comes first and is
// handled on its own).
const std::array<Switch, 13> kSwitches{{
    {"/R", false,
     [](SessionRecords& s, const QString& v, const Origin&) { s.security.readCommunity = v; }},
    {"/W", false,
     [](SessionRecords& s, const QString& v, const Origin&) { s.security.writeCommunity = v; }},
    {"/v", false,
     [](SessionRecords& s, const QString& v, const Origin& o) {
         s.security.version = version(v, o);
     }},
    {"/t", true,
     [](SessionRecords& s, const QString& v, const Origin& o) { s.device.port = port(v, o); }},
    {"/c", true,
     [](SessionRecords& s, const QString& v, const Origin&) { s.scope.contextName = v; }},
    {"/d", true,
     [](SessionRecords& s, const QString& v, const Origin&) { s.scope.contextEngineId = v; }},
    {"/m", true,
     [](SessionRecords& s, const QString& v, const Origin& o) {
         s.security.securityModel = integer(v, o);
     }},
    {"/l", true,
     [](SessionRecords& s, const QString& v, const Origin& o) {
         s.security.securityLevel = hostCode(v, o);
     }},
    {"/n", true,
     [](SessionRecords& s, const QString& v, const Origin&) { s.security.securityName = v; }},
    {"/A", true,
     [](SessionRecords& s, const QString& v, const Origin&) { s.security.authPassword = v; }},
    {"/P", true,
     [](SessionRecords& s, const QString& v, const Origin&) { s.security.privPassword = v; }},
    {"/a", true,
     [](SessionRecords& s, const QString& v, const Origin& o) {
         s.security.authProtocol = hostCode(v, o);
     }},
    {"/p", true,
     [](SessionRecords& s, const QString& v, const Origin& o) {
         s.security.privProtocol = hostCode(v, o);
     }},
}};

constexpr char kAddressSwitch[] = "/I";

// The switch an argument is classified by and where it occurs in it.
struct Classified {
    const Switch* sw = nullptr; // null for "/I", and for an argument without any switch
    qsizetype at = -1;          // -1: no switch at all
};

// The first of "/I" and the table's switches whose two characters occur in `argument`; the same
// for the text and for the bytes of the process's argument vector (the switches are ASCII).
template <typename Text> Classified classify(const Text& argument) {
    if (const qsizetype at = argument.indexOf(kAddressSwitch); at >= 0)
        return {nullptr, at};
    for (const Switch& sw : kSwitches) {
        if (const qsizetype at = argument.indexOf(sw.text); at >= 0)
            return {&sw, at};
    }
    return {};
}

bool passPhraseSwitch(const Switch* sw) {
    return sw && (std::string_view(sw->text) == "/A" || std::string_view(sw->text) == "/P");
}

} // namespace

StartupError::StartupError(QString text) : text_(std::move(text)), what_(text_.toUtf8()) {}

QString helpDirectory(platform::Registry& registry) {
    if (!registry.openKey(kHelpPathKey, true))
        return {};
    const QString helpFile = registry.readString(kHelpPathKey, kProductOid).value_or(QString());
    if (helpFile.size() <= kHelpFileNameLength)
        return {};
    return helpFile.left(helpFile.size() - kHelpFileNameLength);
}

QString deviceFileDirectory(platform::Registry& registry) {
    QString dir;
    if (registry.openKey(kExePathKey, false))
        dir = registry.readString(kExePathKey, "Path").value_or(QString()) + "..\\Conf\\MBF\\";
    if (registry.openKey(kMibFileKey, false))
        dir = registry.readString(kMibFileKey, "Path").value_or(QString());
    return dir;
}

void loadMessageFiles(const QString& dir, MessageFileLoad load) {
    const bool first = load == MessageFileLoad::BesideExecutable;
    const QString subdir = first ? QStringLiteral("errMSg\\") : QStringLiteral("errmsg\\");
    for (const MessageFile& file : first ? kBesideExecutable : kFromHelpDirectory)
        qv::LoadMessageFile(file.table, platform::localPath(dir + subdir + file.name));
}

QString deviceFilePath(const QString& deviceFileDir, const QString& addressText) {
    return deviceFileDir + addressText + QStringLiteral(".cfg");
}

void applyDeviceFile(const QString& path, SessionRecords s) {
    const QvIni ini(path);
    const auto read = [&](const char* key) { return ini.ReadString(kDeviceFileSection, key, ""); };
    const auto origin = [&](const char* key) {
        return Origin{QStringLiteral("the key \"%1\" in %2").arg(key, quoted(path))};
    };

    s.device.port = port(read("AgentPort"), origin("AgentPort"));
    s.security.version = version(read("Version"), origin("Version"));
    if (const QString v = read("ContextName"); !v.isEmpty())
        s.scope.contextName = v;
    s.scope.contextEngineId = read("ContextEngineID");
    s.security.securityModel = integer(read("SecurityModel"), origin("SecurityModel"));
    if (const QString v = read("SecurityLevel"); v != u"0")
        s.security.securityLevel = hostCode(v, origin("SecurityLevel"));
    s.security.securityName = read("SecurityName");
    if (const QString v = read("AuthProtocol"); v != u"0")
        s.security.authProtocol = hostCode(v, origin("AuthProtocol"));
    if (const QString v = read("PrivProtocol"); v != u"0")
        s.security.privProtocol = hostCode(v, origin("PrivProtocol"));
    if (const QString v = read("AuthPassword"); !v.isEmpty())
        s.security.authPassword = v;
    if (const QString v = read("PrivPassword"); !v.isEmpty())
        s.security.privPassword = v;
}

QString applyArguments(const QStringList& arguments, const QString& deviceFileDir,
                       SessionRecords session, QString addressText) {
    for (const QString& argument : arguments) {
        const Classified c = classify(argument);
        if (c.at >= 0 && !c.sw) {
            session.device.address = argument.mid(c.at + 2);
            addressText = session.device.address;
            continue;
        }
        const QString path = deviceFilePath(deviceFileDir, addressText);
        if (platform::fileExists(path))
            applyDeviceFile(path, session);
        if (c.sw && (!c.sw->version3Only || session.security.version == 3)) {
            const Origin origin{QStringLiteral("the switch \"%1\"").arg(c.sw->text)};
            c.sw->apply(session, argument.mid(c.at + 2), origin);
        }
    }
    return addressText;
}

CommandLine::CommandLine(int argc, char** argv) {
    std::vector<std::size_t> keep(static_cast<std::size_t>(std::max(argc, 0)),
                                  std::numeric_limits<std::size_t>::max());
    for (int i = 1; i < argc; ++i) {
        // Read where it lies: no copy of a pass phrase is left behind unwiped.
        const QByteArray bytes = QByteArray::fromRawData(argv[i], qstrlen(argv[i]));
        given_.append(QString::fromLocal8Bit(bytes));
        if (const Classified c = classify(bytes); passPhraseSwitch(c.sw))
            keep[static_cast<std::size_t>(i)] = static_cast<std::size_t>(c.at + 2);
    }
    platform::cutArguments(argc, argv, keep);
    for (int i = 1; i < argc; ++i)
        at_.push_back(argv[i]);
}

CommandLine::~CommandLine() {
    wipeArguments(given_);
}

QStringList CommandLine::take(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const auto it = std::find(at_.begin(), at_.end(), argv[i]);
        arguments.append(it == at_.end() ? QString::fromLocal8Bit(argv[i])
                                         : std::exchange(given_[it - at_.begin()], QString()));
    }
    wipeArguments(given_);
    at_.clear();
    return arguments;
}

QStringList takeArguments(int argc, char** argv) {
    return CommandLine(argc, argv).take(argc, argv);
}

void wipeArguments(QStringList& arguments) {
    for (QString& argument : arguments)
        platform::wipe(argument);
    arguments.clear();
}

} // namespace app
