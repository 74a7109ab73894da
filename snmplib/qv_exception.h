#pragma once
// Configuration faults (bad address, bad syntax, bad list kind, conversion faults) are raised as
// this one exception type, carrying the library code and its message text. Exchange failures are
// never raised: they reach the completion callback as a QvSNMPError record.
#include <exception>
#include <QByteArray>
#include <QString>

class QvException : public std::exception {
public:
    QvException(int code, QString text);
    // Text looked up in the message tables for a library code (0, -5NN, or any mapped code).
    explicit QvException(int code);

    int code() const noexcept { return code_; }
    const QString& text() const noexcept { return text_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    int code_;
    QString text_;
    QByteArray what_;
};
