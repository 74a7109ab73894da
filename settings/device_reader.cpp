#include "settings/device_reader.h"

#include "app/menu_items.h"
#include "snmplib/error_codes.h"
#include "snmplib/request.h"
#include "snmplib/syntax.h"
#include "tables/main_window.h"
#include "tables/page_tables.h"

#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace settings {
namespace {

namespace tmw = tables::main_window;
namespace tpt = tables::page_tables;

// Scalars per GET: their answers stay within one datagram of an ordinary agent.
constexpr size_t kPerRequest = 20;
// A walk that never ends (an agent that keeps answering new rows) is cut off here.
constexpr int kMaxRows = 4096;

bool isNumeric(int syntax) {
    switch (syntax) {
    case QvSyntax::boolean:
    case QvSyntax::integer:
    case QvSyntax::counter:
    case QvSyntax::guage:
    case QvSyntax::timeticks:
    case QvSyntax::counter64:
    case QvSyntax::uinteger:
        return true;
    default:
        return false;
    }
}

bool masked(const QString& value) {
    return !value.isEmpty() && value.count(u'*') == value.size();
}

// One scalar to read: its descriptor, the OID asked and what came back.
struct Cell {
    QvSNMPVarDef def;
    QString oid;
    QString name;
    QString value;
    QString failure;
    bool answered() const { return failure.isEmpty(); }
};

class Reader {
public:
    // Reads the cells, several to a GET. A variable the device refuses (its error index names
    // it) is left out and the rest asked again; a GET refused as a whole, or not answered, is
    // halved until the refused variables are found, unless the device no longer answers at all.
    void get(std::vector<Cell*> cells) {
        while (cells.size() > kPerRequest) {
            std::vector<Cell*> part(cells.begin(), cells.begin() + kPerRequest);
            get(std::move(part));
            cells.erase(cells.begin(), cells.begin() + kPerRequest);
        }
        while (!cells.empty()) {
            std::vector<QvSNMPVarDef> defs;
            for (const Cell* c : cells)
                defs.push_back(c->def);
            QvSNMPRequest request;
            request.vars = QvSNMPVarList(defs, MVT_SV, 0);
            for (int i = 0; i < request.vars.count(); ++i)
                request.vars.item(i).oid = cells[size_t(i)]->oid;
            QvSNMPError failure;
            request.onComplete = [&](const QvSNMPError& e) { failure = e; };
            bool ok = true;
            request.GetStep(ok, true);
            if (ok) {
                answered_ = true;
                for (size_t i = 0; i < cells.size(); ++i) {
                    const QString& value = request.vars.item(int(i)).value;
                    if (value == qv::kNotDoneValue)
                        cells[i]->failure = QStringLiteral("no value in the answer");
                    else
                        cells[i]->value = value;
                }
                return;
            }
            const bool timedOut = failure.code == qv::code::kTimedOut;
            if (timedOut)
                checkAlive(failure);
            else
                answered_ = true;
            const qsizetype at = failure.errorIndex - 1;
            if (!timedOut && at >= 0 && at < qsizetype(cells.size())) {
                fail(*cells[size_t(at)], failure);
                cells.erase(cells.begin() + at);
                continue;
            }
            if (cells.size() == 1) {
                fail(*cells.front(), failure);
                return;
            }
            const auto half = cells.begin() + qsizetype(cells.size() / 2);
            get(std::vector<Cell*>(cells.begin(), half));
            get(std::vector<Cell*>(half, cells.end()));
            return;
        }
    }

    // Walks a table; its rows become lines, a failure a comment line per column.
    void walk(const tpt::PageTable& table, std::vector<Line>& lines) {
        QvSNMPRequest request;
        request.vars = QvSNMPVarList(table.vars, table.kind, table.keys);
        QvSNMPError failure;
        request.onComplete = [&](const QvSNMPError& e) { failure = e; };
        QvSNMPVarList& vars = request.vars;
        for (int rows = 0; rows < kMaxRows; ++rows) {
            bool ok = true;
            const bool row = request.GetStep(ok, rows == 0);
            if (!ok) {
                if (failure.code == qv::code::kTimedOut)
                    checkAlive(failure);
                for (int i = 0; i < vars.count(); ++i)
                    if (vars.readable(i) && !vars.isKey(i))
                        lines.push_back(
                            {vars.item(i).name + QStringLiteral("[]"), {}, failureText(failure)});
                return;
            }
            answered_ = true;
            if (!row)
                return;
            const QString instance = vars.EncodeInstance();
            for (int i = 0; i < vars.count(); ++i) {
                const QvSNMPVar& v = vars.item(i);
                if (!vars.readable(i) || vars.isKey(i) || v.value == qv::kNotDoneValue)
                    continue;
                lines.push_back(
                    {v.name + u'[' + instance + u']', shown(v.name, v.syntax, v.value), {}});
            }
        }
    }

    static QString shown(const QString& name, int syntax, const QString& value) {
        return isSecretName(name, syntax) || masked(value) ? QString::fromLatin1(kSecret) : value;
    }

private:
    static QString failureText(const QvSNMPError& failure) {
        return failure.text.isEmpty() ? QStringLiteral("no answer") : failure.text;
    }
    static void fail(Cell& cell, const QvSNMPError& failure) {
        cell.failure = failureText(failure);
    }
    // After a time-out: a device that has never answered, or no longer answers its cheapest
    // object, is unreachable; one that answers only refuses what was asked.
    void checkAlive(const QvSNMPError& failure) {
        if (!answered_)
            throw Unreachable(failure.text);
        QvSNMPRequest probe;
        probe.vars = QvSNMPVarList(tmw::kPoll, SVT_SV, 0);
        QvSNMPError again;
        probe.onComplete = [&](const QvSNMPError& e) { again = e; };
        bool ok = true;
        probe.GetStep(ok, true);
        if (!ok && again.code == qv::code::kTimedOut)
            throw Unreachable(again.text);
    }

    bool answered_ = false;
};

Cell cellOf(const QvSNMPVarDef& def, quint8 kind) {
    const QvSNMPVarList expanded(std::span(&def, 1), kind, 0);
    QString oid = expanded.item(0).oid;
    if (kind == SVT_SV)
        oid += QStringLiteral(".0");
    return {def, oid, QString::fromUtf8(def.name), {}, {}};
}

// Repeated names with different OIDs (the instances of one object on one page) are told apart
// by the arcs in which their OIDs differ: "adPtPRemoteAPMACAddress[3]".
void qualifyRepeatedNames(std::vector<Cell>& cells) {
    QHash<QString, std::vector<Cell*>> byName;
    for (Cell& c : cells)
        byName[c.name].push_back(&c);
    for (auto& group : byName) {
        if (group.size() < 2)
            continue;
        QStringList common = group.front()->oid.split(u'.');
        for (const Cell* c : group) {
            const QStringList arcs = c->oid.split(u'.');
            qsizetype n = 0;
            while (n < common.size() && n < arcs.size() - 1 && common[n] == arcs[n])
                ++n;
            common = common.first(n);
        }
        for (Cell* c : group)
            c->name += u'[' + c->oid.split(u'.').mid(common.size()).join(u'.') + u']';
    }
}

} // namespace

bool isSecretName(const QString& name, int syntax) {
    static const QRegularExpression secret(QStringLiteral("key(-|$)|pass|secret"),
                                           QRegularExpression::CaseInsensitiveOption);
    return !isNumeric(syntax) && secret.match(name).hasMatch();
}

Export readDevice(const QString& addressText, const ReadProgress& progress) {
    Reader reader;
    Export data;
    data.address = addressText;
    data.time = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);

    // The capability flags, as the main window's hidden edits would hold them, the client-info
    // flag of the Status menu and the model's description, in one go.
    std::vector<Cell> flagCells;
    flagCells.push_back(cellOf(tmw::kPoll[0], SVT_SV));
    flagCells.push_back(cellOf(tmw::kClientInfoSupported[0], SVT_SV));
    QHash<QString, size_t> flagCell; // edit name -> cell
    QHash<int, size_t> cellOfVar;
    for (const tmw::CapabilityRequest& request : tmw::kCapabilityRequests) {
        for (const tmw::FlagEdit& edit : request.edits) {
            if (!edit.control)
                continue;
            const int var = request.first + edit.var;
            if (!cellOfVar.contains(var)) {
                cellOfVar.insert(var, flagCells.size());
                flagCells.push_back(cellOf(tmw::kCapabilityVars[var], SVT_SV));
            }
            flagCell.insert(QString::fromLatin1(edit.control), cellOfVar.value(var));
        }
    }
    std::vector<Cell*> asked;
    for (Cell& c : flagCells)
        asked.push_back(&c);
    reader.get(asked);
    data.model = flagCells[0].value;
    const auto flagText = [&](const QString& name) {
        const auto at = flagCell.constFind(name);
        return at == flagCell.constEnd() ? QString() : flagCells[*at].value;
    };
    data.firmware = flagText(QStringLiteral("Ed_FwVer"));
    std::optional<QString> clientInfo;
    if (flagCells[1].answered())
        clientInfo = flagCells[1].value;

    for (const app::DevicePage& page : app::devicePages(flagText, clientInfo)) {
        Section section{QString::fromUtf8(page.item->path), page.page, {}};
        if (progress.page)
            progress.page(section.path);
        const auto reads = tpt::readsOf(page.page.toStdString());
        std::vector<Cell> cells;
        QSet<QString> seen;
        for (const tpt::PageTable& table : reads) {
            if (table.kind != SVT_SV && table.kind != MVT_SV)
                continue;
            const QvSNMPVarList list(table.vars, table.kind, 0);
            for (int i = 0; i < list.count(); ++i) {
                Cell cell = cellOf(table.vars[size_t(i)], table.kind);
                if (list.readable(i) && !seen.contains(cell.oid)) {
                    seen.insert(cell.oid);
                    cells.push_back(std::move(cell));
                }
            }
        }
        qualifyRepeatedNames(cells);
        std::vector<Cell*> pending;
        for (Cell& c : cells)
            pending.push_back(&c);
        reader.get(pending);
        for (const Cell& c : cells)
            section.lines.push_back(
                {c.name,
                 c.answered() ? Reader::shown(QString::fromUtf8(c.def.name), c.def.syntax, c.value)
                              : QString(),
                 c.failure});
        for (const tpt::PageTable& table : reads)
            if (table.kind == MVT_FMV || table.kind == MVT_UMV)
                reader.walk(table, section.lines);
        data.sections.push_back(std::move(section));
    }
    return data;
}

} // namespace settings
