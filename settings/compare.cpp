#include "settings/compare.h"

#include "tables/page_tables.h"

#include <QHash>
#include <QSet>
#include <span>

namespace settings {
namespace {

namespace tpt = tables::page_tables;

// Tables of what the device sees or counts rather than what it is told.
const std::span<const QvSNMPVarDef> kLiveTables[] = {
    tables::wireless::kSurveyTable,
    tables::rogue_ap::kRogueTable,
    tables::dhcp::kDynamicLeases,
    tables::dhcp::kStaticLeases,
    tables::client_info::kClientTableSsid,
    tables::client_info::kWdsTable,
    tables::device_info::kLoad,
    tables::ethernet::kCounters,
    tables::statistics::kCounters,
};
// The device's own identity and clock.
const char* const kLiveNames[] = {"hIPAddress", "IP Address", "MAC Address", "timeOfDay"};

bool liveSyntax(int syntax) {
    switch (syntax) {
    case QvSyntax::counter:
    case QvSyntax::counter64:
    case QvSyntax::timeticks:
    case QvSyntax::datetime:
    case QvSyntax::bcdatetime:
        return true;
    default:
        return false;
    }
}

// page class -> names of its volatile variables
QHash<QString, QSet<QString>> volatileNames() {
    QHash<QString, QSet<QString>> names;
    for (const tpt::PageReads& page : tpt::kPages) {
        QSet<QString>& set = names[QString::fromLatin1(page.page)];
        for (const tpt::PageTable& table : page.tables) {
            bool live = false;
            for (const auto& t : kLiveTables)
                live = live || (t.data() == table.vars.data() && t.size() == table.vars.size());
            for (const QvSNMPVarDef& def : table.vars) {
                if (def.oid == nullptr)
                    break;
                bool named = false;
                for (const char* n : kLiveNames)
                    named = named || qstrcmp(n, def.name) == 0;
                if (live || named || liveSyntax(def.syntax))
                    set.insert(QString::fromUtf8(def.name));
            }
        }
    }
    return names;
}

QString baseName(const QString& name) {
    const qsizetype open = name.indexOf(u'[');
    return open > 0 && name.endsWith(u']') ? name.left(open) : name;
}

QString valueOf(const Line& line) {
    return line.answered() ? line.value : QStringLiteral("(not answered: %1)").arg(line.failure);
}

} // namespace

bool isVolatile(const QString& page, const QString& name) {
    static const QHash<QString, QSet<QString>> names = volatileNames();
    return names.value(page).contains(baseName(name));
}

std::vector<PageDifferences> compare(const Export& first, const Export& second,
                                     bool includeVolatile) {
    // Pages by path in the first export's order, then those only the second has.
    QStringList paths;
    QHash<QString, const Section*> a;
    QHash<QString, const Section*> b;
    for (const Section& s : first.sections) {
        paths.append(s.path);
        a.insert(s.path, &s);
    }
    for (const Section& s : second.sections) {
        if (!a.contains(s.path))
            paths.append(s.path);
        b.insert(s.path, &s);
    }
    std::vector<PageDifferences> result;
    for (const QString& path : paths) {
        const Section* sa = a.value(path);
        const Section* sb = b.value(path);
        const QString page = sa ? sa->page : sb->page;
        QStringList names;
        QHash<QString, QString> va;
        QHash<QString, QString> vb;
        if (sa)
            for (const Line& l : sa->lines) {
                names.append(l.name);
                va.insert(l.name, valueOf(l));
            }
        if (sb)
            for (const Line& l : sb->lines) {
                if (!va.contains(l.name))
                    names.append(l.name);
                vb.insert(l.name, valueOf(l));
            }
        PageDifferences changes{path, {}};
        for (const QString& name : names) {
            if (!includeVolatile && isVolatile(page, name))
                continue;
            const auto x = va.constFind(name);
            const auto y = vb.constFind(name);
            Difference d{name, {}, {}};
            if (x != va.constEnd())
                d.first = *x;
            if (y != vb.constEnd())
                d.second = *y;
            if (d.first != d.second)
                changes.differences.push_back(std::move(d));
        }
        if (!changes.differences.empty())
            result.push_back(std::move(changes));
    }
    return result;
}

QString differencesText(const std::vector<PageDifferences>& differences) {
    QString out;
    for (const PageDifferences& page : differences) {
        out += u'[' + page.path + QStringLiteral("]\n");
        for (const Difference& d : page.differences) {
            if (d.first)
                out += u'-' + d.name + QStringLiteral(" = ") + *d.first + u'\n';
            if (d.second)
                out += u'+' + d.name + QStringLiteral(" = ") + *d.second + u'\n';
        }
    }
    return out;
}

} // namespace settings
