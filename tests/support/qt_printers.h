#pragma once
// Readable GoogleTest failure output for Qt text types.
#include <ostream>
#include <QByteArray>
#include <QString>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << "0x" << b.toHex().toStdString();
}
