#include "pages/common/address_pool.h"

#include <QStringList>

namespace pages {
namespace {

quint32 fieldValue(const QString& field) {
    bool ok = false;
    const qulonglong value = field.toULongLong(&ok);
    return ok ? static_cast<quint32>(value) : 0;
}

} // namespace

quint32 dottedNumber(const QString& text) {
    quint32 sum = 0;
    const QStringList fields = text.split(u'.');
    for (qsizetype i = 0; i < fields.size(); ++i) {
        sum += fieldValue(fields[i]);
        if (i + 1 < fields.size())
            sum <<= 8;
    }
    return sum;
}

bool inPool(const QString& address, const QString& start, const QString& range) {
    const quint64 a = dottedNumber(address);
    const quint64 s = dottedNumber(start);
    const quint64 n = dottedNumber(range);
    return s <= a && a < s + n;
}

} // namespace pages
