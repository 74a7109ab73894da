#include "pages/common/messages.h"

namespace pages::msg {

QString numberBetween(qint64 low, qint64 high) {
    return QStringLiteral("Please input a number between %1 and %2.").arg(low).arg(high);
}

QString noValidValue(const QString& field) {
    return QStringLiteral("%1 has no valid value. Please select one.").arg(field.trimmed());
}

} // namespace pages::msg
