#pragma once
// Profile strings: reading one key of an INI file the way the desktop platform's profile-string
// function does. The file is opened and parsed on every call; nothing is cached, so a file that
// changes between two reads is seen anew.
//
// File rules: "[section]" lines open a section; "key=value" lines inside a section; lines whose
// first non-blank character is ';' are comments. Section and key names are compared without
// regard to letter case and without surrounding blanks; the first match in the file wins. A value
// is trimmed of surrounding blanks and loses one pair of enclosing quotes ("..." or '...'). Lines
// may end in CR LF; a UTF-8 byte-order mark is skipped.
#include <optional>
#include <QHash>
#include <QString>

namespace platform {

// The parsed contents of one INI file.
class ProfileText {
public:
    // `path` is taken as platform::localPath takes it. A file that does not exist or cannot be
    // read gives an empty profile.
    static ProfileText load(const QString& path);
    static ProfileText parse(const QByteArray& contents);

    bool hasSection(const QString& section) const;
    // The value of `key` in `section`; nullopt when the section or the key is absent.
    std::optional<QString> value(const QString& section, const QString& key) const;

private:
    // Folded section name -> folded key name -> value (first occurrence only).
    QHash<QString, QHash<QString, QString>> sections_;
};

// The platform call: the value of the key, or `defaultValue` (less its trailing blanks) when the
// key is absent, cut to `bufferSize` - 1 characters as a fixed buffer would.
QString readProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& defaultValue, int bufferSize);

} // namespace platform
