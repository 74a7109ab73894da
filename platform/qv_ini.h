#pragma once
// The INI reader of the start-up: holds only the file path; neither opens nor caches the file.
#include <QString>
#include <utility>

class QvIni {
public:
    explicit QvIni(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }

    // The key's value trimmed of surrounding white space when the profile-string reading returns
    // at least one character; otherwise (key absent or empty, and an empty default) `Default`
    // exactly as given.
    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;

private:
    QString path_;
};
