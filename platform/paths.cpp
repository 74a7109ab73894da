#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

// The entry of `dir` whose name equals `name` without regard to letter case, or `name`.
QString matchEntry(const QString& dir, const QString& name) {
    const QStringList entries =
        QDir(dir.isEmpty() ? QStringLiteral(".") : dir)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

QString localPath(const QString& path) {
    QString unified = path;
    unified.replace(u'\\', u'/');
    if (unified.isEmpty())
        return unified;
    const QString clean = QDir::cleanPath(unified);

    QString resolved;
    QStringList parts = clean.split(u'/');
    if (clean.startsWith(u'/')) {
        resolved = QStringLiteral("/");
        parts.removeFirst();
    }
    bool matching = true;
    for (const QString& part : parts) {
        QString name = part;
        if (matching && part != u".." && part != u"." && !QFileInfo::exists(resolved + part)) {
            const QString entry = matchEntry(resolved, part);
            if (entry.isEmpty())
                matching = false;
            else
                name = entry;
        }
        resolved += name + u'/';
    }
    resolved.chop(1);
    if (unified.endsWith(u'/') && !resolved.endsWith(u'/'))
        resolved += u'/';
    return resolved;
}

bool fileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(localPath(path)).isFile();
}

QString executableDir() {
    return QCoreApplication::applicationDirPath() + u'/';
}

QString dataDirectory(const QString& sub) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (base.isEmpty())
        return {};
    const QString dir = QDir::cleanPath(base + u'/' + sub);
    if (!QDir().mkpath(dir))
        return {};
    return dir + u'/';
}

} // namespace platform
