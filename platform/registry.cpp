#include "platform/registry.h"

#include "platform/profile.h"

#include <QSet>
#include <QtGlobal>

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace platform {
namespace {

class IniRegistry final : public Registry {
public:
    // Without a path, the file named by KW9100_REGISTRY at the moment of each call.
    explicit IniRegistry(std::optional<QString> path = std::nullopt) : path_(std::move(path)) {}

    bool openKey(const QString& key, bool createIfMissing) override {
        if (ProfileText::load(path()).hasSection(key) || created_.contains(normal(key)))
            return true;
        // The module writes no settings: a key created here lives, empty, in this process only.
        if (createIfMissing)
            created_.insert(normal(key));
        return createIfMissing;
    }

    std::optional<QString> readString(const QString& key, const QString& name) override {
        return ProfileText::load(path()).value(key, name);
    }

private:
    static QString normal(const QString& key) { return key.trimmed().toCaseFolded(); }
    QString path() const { return path_ ? *path_ : qEnvironmentVariable("KW9100_REGISTRY"); }

    std::optional<QString> path_;
    QSet<QString> created_;
};

#ifdef Q_OS_WIN
class NativeRegistry final : public Registry {
public:
    bool openKey(const QString& key, bool createIfMissing) override {
        if (exists(key))
            return true;
        if (!createIfMissing)
            return false;
        QSettings settings(root() + key, QSettings::NativeFormat);
        settings.setValue(QStringLiteral("."), QString()); // makes the key; removed at once
        settings.remove(QStringLiteral("."));
        settings.sync();
        return settings.status() == QSettings::NoError;
    }

    std::optional<QString> readString(const QString& key, const QString& name) override {
        if (!exists(key))
            return std::nullopt;
        QSettings settings(root() + key, QSettings::NativeFormat);
        const QVariant v = settings.value(name);
        if (!v.isValid())
            return std::nullopt;
        return v.toString();
    }

private:
    static QString root() { return QStringLiteral("HKEY_LOCAL_MACHINE"); }

    static bool exists(const QString& key) {
        QString path = key;
        path.replace(u'/', u'\\');
        while (path.endsWith(u'\\'))
            path.chop(1);
        const qsizetype cut = path.lastIndexOf(u'\\');
        const QString leaf = path.mid(cut + 1);
        QSettings parent(root() + path.left(cut), QSettings::NativeFormat);
        return parent.childGroups().contains(leaf, Qt::CaseInsensitive);
    }
};
#endif

Registry& platformRegistry() {
#ifdef Q_OS_WIN
    static NativeRegistry instance;
#else
    static IniRegistry instance;
#endif
    return instance;
}

Registry* installed = nullptr;

} // namespace

Registry& registry() {
    return installed ? *installed : platformRegistry();
}

void setRegistry(Registry* r) {
    installed = r;
}

std::unique_ptr<Registry> makeIniRegistry(const QString& path) {
    return std::make_unique<IniRegistry>(path);
}

} // namespace platform
