// kw9100-settings against the simulated device: an export of every shipped profile, what two
// profiles' exports differ in checked against the profile files, a device against its own
// export, a device that does not answer, one that refuses or ignores some reads, and the pass
// phrases of its command line.
#include "settings/compare.h"
#include "settings/device_reader.h"
#include "settings/settings_file.h"
#include "snmplib/error_codes.h"
#include "snmplib/messages.h"
#include "tables/main_window.h"
#include "tables/page_tables.h"
#include "tests/settings/settings_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

namespace {

using settings::Export;
using settings::Line;
using settings::Section;

class SettingsExport : public ::testing::Test {
protected:
    // A device of that profile, its module files (SNMP version as the host codes it).
    void startDevice(const QString& profile, int version = 1, const QString& user = "kwshades") {
        sim = std::make_unique<kwtest::SimDevice>(kwtest::SimOptions(profile, 1));
        ASSERT_TRUE(sim->ok()) << sim->error().toStdString();
        const QString files = dir.path() + "/" + profile;
        registry = sim->writeModuleFiles(files, version, user);
    }
    test::SettingsResult run(const QStringList& args) {
        return test::runSettings(args, registry, dir.path());
    }
    // An export of the device, read back.
    Export exportOf(const QStringList& extra = {}) {
        const test::SettingsResult r =
            run(QStringList{"export"} + test::deviceSwitches(*sim) + extra + QStringList{"-q"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        return settings::fromText(r.out);
    }
    // An export of the device to the file `name` in the test's directory; its path.
    QString exportFile(const QString& name) {
        const QString path = dir.path() + "/" + name;
        const test::SettingsResult r =
            run(QStringList{"export"} + test::deviceSwitches(*sim) + QStringList{"-q", "-o", path});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return path;
    }
    static const Section* section(const Export& e, const QString& path) {
        for (const Section& s : e.sections)
            if (s.path == path)
                return &s;
        return nullptr;
    }
    static const Line* line(const Export& e, const QString& path, const QString& name) {
        const Section* s = section(e, path);
        if (!s)
            return nullptr;
        for (const Line& l : s->lines)
            if (l.name == name)
                return &l;
        return nullptr;
    }
    QString deviceValue(const QString& oid) { return sim->value(oid)["value"].toString(); }

    QTemporaryDir dir;
    std::unique_ptr<kwtest::SimDevice> sim;
    QString registry;
};

// The syntax a page's tables give a variable name.
int syntaxOf(const QString& page, const QString& name) {
    for (const auto& reads : tables::page_tables::kPages)
        if (page == reads.page)
            for (const auto& table : reads.tables)
                for (const QvSNMPVarDef& def : table.vars)
                    if (def.oid && name == def.name)
                        return def.syntax;
    ADD_FAILURE() << page.toStdString() << " has no " << name.toStdString();
    return QvSyntax::null;
}

QStringList shippedProfiles() {
    QStringList names;
    for (const QString& f :
         QDir(kwtest::sourceDir() + "/device/profiles").entryList({"*.profile"}, QDir::Files))
        names << f.chopped(QString(".profile").size());
    return names;
}

// Secrets the profiles' devices are given before their export: none may appear in it.
const char* const kSecretObjects[][2] = {
    {"devMib.2.5.1.1.4.1", "PassPhraseInClear"},     // adSecPassPhrase
    {"devMib.2.5.2.5.0", "RadiusSecretInClear"},     // RADIUS secret
    {"devMib.3.1.2.0", "AdminPasswordInClear"},      // login password
    {"devMib.2.9.2.1.12.1.2", "GuestPhraseInClear"}, // a multi-SSID pass phrase
};

TEST_F(SettingsExport, EveryProfileExportsItsPagesWithoutWritingAnything) {
    const QStringList profiles = shippedProfiles();
    ASSERT_TRUE(profiles.contains("recent") && profiles.contains("early"));
    for (const QString& profile : profiles) {
        SCOPED_TRACE(profile.toStdString());
        startDevice(profile);
        for (const auto& [oid, text] : kSecretObjects)
            sim->control(QString("set %1 %2").arg(oid, text)); // where the device has it
        sim->clearJournal();
        const Export e = exportOf();
        EXPECT_EQ(e.address, sim->address());
        EXPECT_EQ(e.firmware, deviceValue("devMib.4.1.1.1.0"));
        EXPECT_EQ(e.model, deviceValue("1.3.6.1.2.1.1.1.0"));
        EXPECT_FALSE(e.time.isEmpty());
        // Values as the device has them, in the module's text form.
        const Line* name = line(e, "Home \\ Information", "System Name");
        ASSERT_TRUE(name);
        EXPECT_EQ(name->value, deviceValue("1.3.6.1.2.1.1.5.0"));
        const Line* level = line(e, "Status \\ Log \\ Log Setting", "adSystemLevel");
        if (level) {
            EXPECT_EQ(level->value, deviceValue("devMib.2.11.1.0") == "1" ? "Enable" : "Disable");
        }
        // Secrets never in clear; the lines are there, masked.
        const QString text = settings::toText(e);
        for (const auto& [oid, secret] : kSecretObjects)
            EXPECT_FALSE(text.contains(secret)) << secret;
        for (const Section& s : e.sections) {
            for (const Line& l : s.lines) {
                const QString base = l.name.section('[', 0, 0);
                if (l.answered() && settings::isSecretName(base, syntaxOf(s.page, base))) {
                    EXPECT_EQ(l.value, settings::kSecret) << l.name.toStdString();
                }
            }
        }
        // Only reads; several variables to a GET, so never more GETs than the main window's
        // capability requests and the pages' own reads of their scalar lists (one each).
        int gets = 0;
        qsizetype mostInOneGet = 0;
        for (const QJsonObject& pdu : sim->requests()) {
            EXPECT_TRUE(pdu["op"] == "get" || pdu["op"] == "getnext")
                << pdu["op"].toString().toStdString();
            if (pdu["op"] == "get") {
                ++gets;
                mostInOneGet = std::max(mostInOneGet, pdu["varbinds"].toArray().size());
            }
        }
        int pagesOwnGets = int(std::size(tables::main_window::kCapabilityRequests)) + 2;
        for (const Section& s : e.sections)
            for (const auto& table : tables::page_tables::readsOf(s.page.toStdString()))
                pagesOwnGets += table.kind == SVT_SV || table.kind == MVT_SV;
        EXPECT_LE(gets, pagesOwnGets);
        EXPECT_GE(mostInOneGet, 10);
    }
}

TEST_F(SettingsExport, PagesAreThoseTheDevicesMenusOffer) {
    struct Case {
        const char* profile;
        QStringList has;
        QStringList lacks;
    };
    const Case cases[] = {
        {"recent",
         {"Advanced \\ Multi-SSID", "Advanced \\ Rogue AP", "Status \\ Log \\ Log Setting",
          "Tools \\ SNTP", "Status \\ Client Info"},
         {"Advanced \\ Mode", "Advanced \\ Encryption", "Tools \\ Miscellaneous"}},
        {"early",
         {"Advanced \\ Mode", "Advanced \\ Encryption", "Tools \\ Miscellaneous",
          "Status \\ Client Info"},
         {"Advanced \\ Multi-SSID", "Advanced \\ Rogue AP", "Status \\ Log \\ Log Setting",
          "Advanced \\ Grouping"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        startDevice(c.profile);
        const Export e = exportOf();
        for (const QString& path : c.has)
            EXPECT_TRUE(section(e, path)) << path.toStdString();
        for (const QString& path : c.lacks)
            EXPECT_FALSE(section(e, path)) << path.toStdString();
    }
    // The page variant the flags choose.
    startDevice("recent");
    const Export recent = exportOf();
    EXPECT_EQ(section(recent, "Advanced \\ Multi-SSID")->page, "TFM_MultiSSIDNewForm");
    // Without -q, a line of progress on standard error per page, in the export's order.
    const test::SettingsResult loud = run(QStringList{"export"} + test::deviceSwitches(*sim));
    ASSERT_EQ(loud.exitCode, 0);
    QStringList progress;
    for (const Section& s : recent.sections)
        progress << "kw9100-settings: " + sim->address() + ": " + s.path;
    EXPECT_EQ(loud.err, progress.join('\n') + '\n');
    startDevice("multissid-early");
    EXPECT_EQ(section(exportOf(), "Advanced \\ Multi-SSID")->page, "TFM_MultiSSIDForm");
}

TEST_F(SettingsExport, OutputFilesHoldingSwitchesAreTakenOutBeforeTheSwitchesOverV2cAndV3) {
    // The module's rule would take a path holding "/R" for the read community (over SNMPv2c the
    // device would then not answer), one holding "/t" ("/tmp...") for the port over SNMPv3. The
    // device file, which says the version, is read before each switch after the address.
    struct Case {
        int version;
        const char* user;
        const char* file;
        const char* pduKey;
        const char* pduValue;
    };
    const Case cases[] = {
        {1, "", "Reports/ap.txt", "community", kwtest::SimDevice::kReadCommunity},
        {3, "kwshades", "tables/ap.txt", "user", "kwshades"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        startDevice("recent", c.version, c.user);
        const QString file = dir.path() + "/" + c.file;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        ASSERT_TRUE(file.contains("/t") && (c.version == 3 || file.contains("/R")));
        const test::SettingsResult r =
            run({"export", "/I" + sim->address(), "/Rfenrow", "-o", file, "-q"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const Export e = settings::fromText(QString::fromUtf8(f.readAll()));
        EXPECT_EQ(line(e, "Home \\ Information", "System Name")->value, "KW-9100");
        const QList<QJsonObject> pdus = sim->requests();
        ASSERT_FALSE(pdus.isEmpty());
        for (const QJsonObject& pdu : pdus)
            EXPECT_EQ(pdu[c.pduKey].toString(), c.pduValue);
    }
}

// The OIDs a profile sets or removes itself, beyond the profile it includes.
QSet<QString> ownObjects(const QString& profile) {
    QFile f(kwtest::sourceDir() + "/device/profiles/" + profile + ".profile");
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QSet<QString> oids;
    for (const QString& raw : QString::fromUtf8(f.readAll()).split('\n')) {
        const QStringList words = raw.section('#', 0, 0).split(' ', Qt::SkipEmptyParts);
        if (words.size() >= 2 && words[0] == "remove")
            oids << words[1];
        else if (words.size() >= 4 && words[0] != "include")
            oids << words[0];
    }
    return oids;
}

// The variable names that the page tables give those OIDs (scalars at ".0", instances as they
// are, table cells under their column).
QSet<QString> namesOf(const QSet<QString>& oids) {
    QSet<QString> names;
    for (const auto& page : tables::page_tables::kPages)
        for (const auto& table : page.tables)
            for (const QvSNMPVarDef& def : table.vars) {
                if (!def.oid)
                    break;
                const QString oid = QString(def.oid);
                for (const QString& o : oids)
                    if ((table.kind == SVT_SV && o == oid + ".0") ||
                        (table.kind == MVT_SV && o == oid) ||
                        (table.kind >= MVT_FMV && o.startsWith(oid + ".")))
                        names << QString(def.name);
            }
    return names;
}

TEST_F(SettingsExport, DiffOfTwoProfilesListsWhatTheirFilesSetDifferently) {
    startDevice("recent");
    const QString base = exportFile("recent.txt");
    for (const char* variant : {"wireless-blanks", "admin-singles"}) {
        SCOPED_TRACE(variant);
        const QSet<QString> expected = namesOf(ownObjects(variant));
        ASSERT_FALSE(expected.isEmpty());
        startDevice(variant);
        const QString other = exportFile(QString(variant) + ".txt");
        const test::SettingsResult r = run({"diff", base, other});
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        QSet<QString> listed;
        for (const QString& l : r.out.split('\n', Qt::SkipEmptyParts)) {
            if (l.startsWith('['))
                continue;
            ASSERT_TRUE(l.startsWith('-') || l.startsWith('+')) << l.toStdString();
            listed << l.mid(1).section(" = ", 0, 0).section('[', 0, 0);
        }
        EXPECT_EQ(listed, expected) << r.out.toStdString();
        // Compared the other way round: the same settings, the signs swapped.
        const test::SettingsResult back = run({"diff", other, base});
        EXPECT_EQ(back.exitCode, 1);
        EXPECT_EQ(back.out.count('\n'), r.out.count('\n'));
    }
}

TEST_F(SettingsExport, ADeviceAgainstItsOwnExportShowsNothing) {
    startDevice("recent");
    const QString base = exportFile("own.txt");
    // Uptime and counters have moved on meanwhile: left out unless asked for.
    ASSERT_TRUE(sim->command("set 1.3.6.1.2.1.1.3.0 987654"));
    const test::SettingsResult same =
        run(QStringList{"diff", base} + test::deviceSwitches(*sim) + QStringList{"-q"});
    EXPECT_EQ(same.exitCode, 0) << same.out.toStdString() << same.err.toStdString();
    EXPECT_TRUE(same.out.isEmpty()) << same.out.toStdString();
    const test::SettingsResult all = run(QStringList{"diff", base, "--volatile"} +
                                         test::deviceSwitches(*sim) + QStringList{"-q"});
    EXPECT_EQ(all.exitCode, 1);
    EXPECT_TRUE(all.out.contains("+System Uptime = ")) << all.out.toStdString();
    // A changed setting is listed, under its page.
    ASSERT_TRUE(sim->command("set 1.3.6.1.2.1.1.5.0 ap-hall"));
    const test::SettingsResult changed =
        run(QStringList{"diff", base} + test::deviceSwitches(*sim) + QStringList{"-q"});
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_EQ(changed.out,
              "[Home \\ Information]\n-System Name = KW-9100\n+System Name = ap-hall\n");
}

TEST_F(SettingsExport, AnUnreachableDeviceEndsWithTheTimeOutText) {
    startDevice("recent");
    sim->stop();
    const test::SettingsResult r = run(QStringList{"export"} + test::deviceSwitches(*sim));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(qv::codeText(qv::code::kTimedOut))) << r.err.toStdString();
    // Compared with a live device that does not answer: trouble, not a difference.
    const QString file = dir.path() + "/empty.txt";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# kw9100-settings export\n");
    f.close();
    const test::SettingsResult d =
        run(QStringList{"diff", file} + test::deviceSwitches(*sim) + QStringList{"-q"});
    EXPECT_EQ(d.exitCode, 2);
    EXPECT_TRUE(d.err.contains(qv::codeText(qv::code::kTimedOut))) << d.err.toStdString();
}

TEST_F(SettingsExport, ReadsTheDeviceRefusesOrIgnoresBecomeCommentsAndTheExportGoesOn) {
    struct Case {
        const char* fault;
        const char* path;
        QStringList unanswered;
        int reason; // library code of the reason given
    };
    const Case cases[] = {
        {"error devMib.2.11.1 5", "Status \\ Log \\ Log Setting", {"adSystemLevel"}, -105},
        {"silence devMib.2.11.2",
         "Status \\ Log \\ Log Setting",
         {"adWirelessLevel"},
         qv::code::kTimedOut},
        {"silence devMib.2.4.2",
         "Advanced \\ Filter \\ Wireless MAC ACL",
         {"adEthernetFilterMACAddr[]"},
         qv::code::kTimedOut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        startDevice("recent");
        ASSERT_TRUE(sim->command(c.fault));
        const Export e = exportOf();
        for (const QString& name : c.unanswered) {
            const Line* l = line(e, c.path, name);
            ASSERT_TRUE(l) << name.toStdString();
            EXPECT_FALSE(l->answered());
            EXPECT_EQ(l->failure, qv::codeText(c.reason));
        }
        // The rest of the page and the pages after it are there.
        EXPECT_TRUE(line(e, "Status \\ Log \\ Log Setting", "adNoticeLevel")->answered());
        EXPECT_TRUE(
            line(e, "Advanced \\ Filter \\ Wireless MAC ACL", "adAccSettingWirelessAccessControl")
                ->answered());
        EXPECT_TRUE(line(e, "Home \\ Information", "System Name")->answered());
        // As text, a comment line saying so.
        EXPECT_TRUE(settings::toText(e).contains(
            QString("# not answered: %1 (%2)\n").arg(c.unanswered[0], qv::codeText(c.reason))));
    }
}

TEST_F(SettingsExport, PassPhrasesAreBlankedFromTheRunningProgramsArguments) {
    startDevice("recent");
    ASSERT_TRUE(sim->command("silent 30")); // the export waits out its time-outs meanwhile
    QProcess p;
    p.setProcessEnvironment(test::settingsEnvironment(registry));
    p.setWorkingDirectory(dir.path());
    p.start(test::settingsProgram(), {"export", "/I" + sim->address(), "/v3",
                                      "/Aauth-phrase-in-clear", "/Ppriv-phrase-in-clear", "-q"});
    ASSERT_TRUE(p.waitForStarted());
    const QString cmdline = QString("/proc/%1/cmdline").arg(p.processId());
    QByteArray seen;
    const bool blanked = kwtest::SimDevice::waitUntil(
        [&] {
            QFile f(cmdline);
            if (!f.open(QIODevice::ReadOnly))
                return false;
            seen = f.readAll();
            return seen.contains("/I") && !seen.contains("phrase-in-clear");
        },
        10000);
    const bool stillRunning = p.state() == QProcess::Running;
    p.kill();
    p.waitForFinished();
    ASSERT_TRUE(stillRunning) << "ended before its arguments could be seen";
    EXPECT_TRUE(blanked) << seen.replace('\0', ' ').toStdString();
    EXPECT_TRUE(seen.contains("/A")) << "the switches themselves stay";
}

TEST_F(SettingsExport, WrongArgumentsAreTrouble) {
    const struct {
        QStringList args;
        const char* says;
    } cases[] = {
        {{}, "no verb given"},
        {{"import", "/I127.0.0.1"}, "unknown verb import"},
        {{"export"}, "no device given"},
        {{"export", "/I127.0.0.1", "-o"}, "-o needs a file name"},
        {{"export", "/I127.0.0.1", "-x"}, "unknown option -x"},
        {{"diff"}, "diff needs an export"},
        {{"diff", "/nonexistent/a.txt", "/nonexistent/b.txt"}, "/nonexistent/a.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const test::SettingsResult r =
            test::runSettings(c.args, dir.path() + "/none.ini", dir.path());
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
    }
    const test::SettingsResult help = test::runSettings({"--help"}, {}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: kw9100-settings export"));
}

} // namespace
