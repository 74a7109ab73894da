#include "settings/command.h"

#include "app/startup.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "settings/compare.h"
#include "settings/device_reader.h"
#include "snmplib/qv_exception.h"
#include "snmplib/session.h"

#include <optional>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace settings {
namespace {

constexpr char kUsage[] =
    "Usage: kw9100-settings export /IADDRESS [SWITCHES...] [-o FILE] [-q]\n"
    "       kw9100-settings diff FILE1 FILE2 [--volatile] [-o FILE]\n"
    "       kw9100-settings diff FILE1 /IADDRESS [SWITCHES...] [--volatile] [-o FILE] [-q]\n"
    "\n"
    "export   reads every page the device has and writes its settings as text\n"
    "diff     prints the settings in which two exports, or an export and a live\n"
    "         device, differ; exit status 0 none, 1 some, 2 trouble\n"
    "\n"
    "SWITCHES are the module's: /I address, /R and /W communities, /v version\n"
    "(0 SNMPv1, 1 SNMPv2c, 3 SNMPv3), /t port, /c context name, /d context engine ID,\n"
    "/m security model, /l security level, /n user, /A and /P pass phrases, /a and /p\n"
    "protocols; the device file <address>.cfg is read as by the module.\n"
    "\n"
    "  -o FILE      write to FILE instead of standard output\n"
    "  -q           no progress on standard error\n"
    "  --volatile   diff also addresses, MAC addresses, uptime, clocks and counters\n"
    "  --help       this text\n";

struct Options {
    QString verb;
    QString output;
    bool quiet = false;
    bool includeVolatile = false;
    QStringList rest; // operands and the host's switches, in order
};

class UsageError {
public:
    QString text;
};

Options takeOwnArguments(const QStringList& arguments) {
    Options o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == u"-o") {
            if (i + 1 == arguments.size())
                throw UsageError{QStringLiteral("-o needs a file name")};
            o.output = arguments[++i];
        } else if (a == u"-q") {
            o.quiet = true;
        } else if (a == u"--volatile") {
            o.includeVolatile = true;
        } else if (a.startsWith(u'-')) {
            throw UsageError{QStringLiteral("unknown option %1").arg(a)};
        } else if (o.verb.isEmpty()) {
            o.verb = a;
        } else {
            o.rest.append(a);
        }
    }
    return o;
}

// The module's start-up over the global session: message files, device-file directory, switches.
// Returns the address text.
QString startSession(const QStringList& switches) {
    if (switches.isEmpty())
        throw UsageError{QStringLiteral("no device given (/IADDRESS)")};
    app::loadMessageFiles(platform::executableDir(), app::MessageFileLoad::BesideExecutable);
    qv::CreateSession(QString());
    const app::SessionRecords session{qv::sessionDevice(), qv::sessionScope(),
                                      qv::sessionSecurity()};
    session.security.version = 0;
    platform::Registry& registry = platform::registry();
    app::loadMessageFiles(app::helpDirectory(registry), app::MessageFileLoad::FromHelpDirectory);
    const QString address =
        app::applyArguments(switches, app::deviceFileDirectory(registry), session);
    // From here on the program holds the user's keys, not the pass phrases.
    qv::makeUserKeys(session.security);
    if (address.isEmpty())
        throw UsageError{QStringLiteral("no device given (/IADDRESS)")};
    return address;
}

Export readLive(const QStringList& switches, const Options& o, QTextStream& err) {
    const QString address = startSession(switches);
    ReadProgress progress;
    if (!o.quiet)
        progress.page = [&](const QString& path) {
            err << "kw9100-settings: " << address << ": " << path << Qt::endl;
        };
    return readDevice(address, progress);
}

Export readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FormatError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    try {
        return fromText(QString::fromUtf8(file.readAll()));
    } catch (const FormatError& e) {
        throw FormatError(path + QStringLiteral(": ") + e.text());
    }
}

void write(const QString& text, const Options& o, QTextStream& out) {
    if (o.output.isEmpty()) {
        out << text;
        out.flush();
        return;
    }
    QSaveFile file(o.output);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throw FormatError(QStringLiteral("%1: %2").arg(o.output, file.errorString()));
}

} // namespace

int run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.contains(QStringLiteral("--help"))) {
        out << kUsage;
        return kExitSame;
    }
    Options o;
    try {
        o = takeOwnArguments(arguments);
        if (o.verb == u"export") {
            write(toText(readLive(o.rest, o, err)), o, out);
            return kExitSame;
        }
        if (o.verb == u"diff") {
            if (o.rest.isEmpty())
                throw UsageError{QStringLiteral("diff needs an export to compare")};
            const Export first = readFile(o.rest.first());
            const QStringList others = o.rest.mid(1);
            const bool secondIsFile = others.size() == 1 && QFileInfo(others.first()).isFile();
            if (others.isEmpty())
                throw UsageError{QStringLiteral("diff needs a second export or a device")};
            const Export second =
                secondIsFile ? readFile(others.first()) : readLive(others, o, err);
            const auto differences = compare(first, second, o.includeVolatile);
            write(differencesText(differences), o, out);
            return differences.empty() ? kExitSame : kExitDifferent;
        }
        throw UsageError{o.verb.isEmpty() ? QStringLiteral("no verb given")
                                          : QStringLiteral("unknown verb %1").arg(o.verb)};
    } catch (const UsageError& e) {
        err << "kw9100-settings: " << e.text << "\n" << kUsage;
        return kExitTrouble;
    } catch (const Unreachable& e) {
        err << "kw9100-settings: " << e.text() << Qt::endl;
        return o.verb == u"export" ? kExitDifferent : kExitTrouble;
    } catch (const FormatError& e) {
        err << "kw9100-settings: " << e.text() << Qt::endl;
        return kExitTrouble;
    } catch (const app::StartupError& e) {
        err << "kw9100-settings: " << e.text() << Qt::endl;
        return kExitTrouble;
    } catch (const QvException& e) {
        err << "kw9100-settings: " << e.text() << Qt::endl;
        return kExitTrouble;
    }
}

} // namespace settings
