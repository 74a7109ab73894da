#include "settings/settings_file.h"

#include <QStringList>

namespace settings {
namespace {

constexpr char kTitle[] = "# kw9100-settings export";
constexpr char kPagePrefix[] = "# page: ";
constexpr char kNotAnswered[] = "# not answered: ";
constexpr char kAssign[] = " = ";

// A value on one line: backslash, line feed and carriage return escaped.
QString escaped(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

QString unescaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
    }
    return out;
}

struct HeaderKey {
    const char* prefix;
    QString Export::*field;
};
const HeaderKey kHeader[] = {
    {"# address: ", &Export::address},
    {"# model: ", &Export::model},
    {"# firmware: ", &Export::firmware},
    {"# time: ", &Export::time},
};

} // namespace

QString toText(const Export& data) {
    QString out = QLatin1String(kTitle) + u'\n';
    for (const HeaderKey& key : kHeader)
        out += QLatin1String(key.prefix) + escaped(data.*key.field) + u'\n';
    for (const Section& section : data.sections) {
        out += QStringLiteral("\n[%1]\n").arg(section.path);
        out += QLatin1String(kPagePrefix) + section.page + u'\n';
        for (const Line& line : section.lines) {
            if (line.answered())
                out += line.name + QLatin1String(kAssign) + escaped(line.value) + u'\n';
            else
                out += QLatin1String(kNotAnswered) + line.name + QStringLiteral(" (") +
                       escaped(line.failure) + QStringLiteral(")\n");
        }
    }
    return out;
}

Export fromText(const QString& text) {
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.first() != QLatin1String(kTitle))
        throw FormatError(QStringLiteral("line 1: not a kw9100-settings export"));
    Export data;
    Section* section = nullptr;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const QString& line = lines[n];
        const auto fail = [&](const char* what) {
            return FormatError(QStringLiteral("line %1: %2").arg(n + 1).arg(QLatin1String(what)));
        };
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            data.sections.push_back({line.mid(1, line.size() - 2), {}, {}});
            section = &data.sections.back();
            continue;
        }
        if (section == nullptr) {
            bool known = false;
            for (const HeaderKey& key : kHeader) {
                if (line.startsWith(QLatin1String(key.prefix))) {
                    data.*key.field = unescaped(line.mid(qsizetype(qstrlen(key.prefix))));
                    known = true;
                }
            }
            if (!known && !line.startsWith(u'#'))
                throw fail("a setting before the first page");
            continue;
        }
        if (line.startsWith(QLatin1String(kPagePrefix))) {
            section->page = line.mid(qsizetype(qstrlen(kPagePrefix)));
        } else if (line.startsWith(QLatin1String(kNotAnswered))) {
            const QString rest = line.mid(qsizetype(qstrlen(kNotAnswered)));
            const qsizetype open = rest.lastIndexOf(QStringLiteral(" ("));
            if (open < 0 || !rest.endsWith(u')'))
                throw fail("a comment on an unanswered variable without its reason");
            section->lines.push_back(
                {rest.left(open), {}, unescaped(rest.mid(open + 2, rest.size() - open - 3))});
        } else if (!line.startsWith(u'#')) {
            const qsizetype at = line.indexOf(QLatin1String(kAssign));
            if (at <= 0)
                throw fail("neither a setting nor a comment");
            section->lines.push_back(
                {line.left(at), unescaped(line.mid(at + qsizetype(qstrlen(kAssign)))), {}});
        }
    }
    return data;
}

} // namespace settings
