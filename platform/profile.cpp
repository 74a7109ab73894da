#include "platform/profile.h"

#include "platform/paths.h"

#include <QFile>

namespace platform {
namespace {

QString fold(const QString& name) {
    return name.trimmed().toCaseFolded();
}

QString unquote(const QString& value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

ProfileText ProfileText::load(const QString& path) {
    QFile file(localPath(path));
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

ProfileText ProfileText::parse(const QByteArray& contents) {
    ProfileText profile;
    QString text = QString::fromUtf8(contents);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QHash<QString, QString>* current = nullptr;
    for (const QString& rawLine : text.split(u'\n')) {
        const QString line = rawLine.trimmed(); // also drops the CR of CR LF
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = line.mid(1, close < 0 ? -1 : close - 1);
            current = &profile.sections_[fold(name)];
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (current == nullptr || eq < 0)
            continue;
        const QString key = fold(line.left(eq));
        if (!current->contains(key))
            current->insert(key, unquote(line.mid(eq + 1).trimmed()));
    }
    return profile;
}

bool ProfileText::hasSection(const QString& section) const {
    return sections_.contains(fold(section));
}

std::optional<QString> ProfileText::value(const QString& section, const QString& key) const {
    const auto s = sections_.constFind(fold(section));
    if (s == sections_.cend())
        return std::nullopt;
    const auto k = s->constFind(fold(key));
    if (k == s->cend())
        return std::nullopt;
    return *k;
}

QString readProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& defaultValue, int bufferSize) {
    QString result;
    if (const auto found = ProfileText::load(path).value(section, key)) {
        result = *found;
    } else {
        result = defaultValue;
        while (!result.isEmpty() && result.back().isSpace())
            result.chop(1);
    }
    if (bufferSize <= 0)
        return {};
    return result.left(bufferSize - 1);
}

} // namespace platform
